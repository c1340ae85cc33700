#include "AppServer.h"
#include "CallLog.h"
#include "DatabaseLocation.h"
#include "DemoSeeder.h"
#include "NoticeListener.h"
#include "OperatorBook.h"
#include "PasswordPrompt.h"
#include "SchemaMigrator.h"
#include "ServerOptions.h"
#include "ShutdownSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QSqlDatabase>
#include <QSslCertificate>
#include <QSslKey>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>

namespace {

void printErr(const QString &text)
{
    std::fprintf(stderr, "appserver: %s\n", text.toUtf8().constData());
}

int seed(const ServerOptions &options, const DatabaseLocation &location)
{
    QElapsedTimer timer;
    timer.start();
    {
        QSqlDatabase db = location.open(QStringLiteral("appserver-seed"), options.busyTimeoutMs);
        SchemaMigrator(db).migrate();
        DemoSeeder seeder(options.seedValue);
        seeder.fillServer(db, options.seedQuotes);
        if (!options.localDatabase.isEmpty()) {
            QSqlDatabase local = DatabaseLocation::parse(options.localDatabase).open(QStringLiteral("appserver-local"));
            seeder.fillLocal(local);
            local.close();
        }
        db.close();
    }
    printErr(QStringLiteral("%1 orçamentos gerados em %2 em %3 ms").arg(options.seedQuotes).arg(location.describe()).arg(timer.elapsed()));
    return 0;
}

// Descriptors a connection may hold: its socket, and for SQLite the
// database, its write-ahead log and shared memory.
constexpr int descriptorsPerConnection = 4;
// Kept free for the listener, the log, migrations and the libraries.
constexpr int descriptorsInReserve = 64;
// Change notices a client may leave unread before it is disconnected:
// thousands of notices, far beyond what a reading client ever holds back.
constexpr qint64 maxUnsentNoticeBytes = 1024 * 1024;

// Raises the process's open-file limit as far as it may go, and lowers the
// connection limit to what the descriptors can hold: a flood of sockets
// then meets refusals, never a server out of descriptors.
int connectionsTheDescriptorsAllow(int wanted)
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
        return wanted;
    }
    if (limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    const auto available = qint64(limit.rlim_cur == RLIM_INFINITY ? 1 << 20 : limit.rlim_cur) - descriptorsInReserve;
    const int allowed = int(std::clamp<qint64>(available / descriptorsPerConnection, 1, wanted));
    if (allowed < wanted) {
        printErr(QStringLiteral("limite de arquivos abertos %1: no máximo %2 conexões").arg(quint64(limit.rlim_cur)).arg(allowed));
    }
    return allowed;
}

QSslConfiguration tlsConfiguration(const ServerOptions &options)
{
    QFile certificateFile(options.tlsCertificate);
    QFile keyFile(options.tlsKey);
    if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
        throw std::runtime_error(QStringLiteral("não foi possível ler o certificado %1 ou a chave %2")
                                     .arg(options.tlsCertificate, options.tlsKey).toStdString());
    }
    const QList<QSslCertificate> chain = QSslCertificate::fromData(certificateFile.readAll(), QSsl::Pem);
    const QByteArray keyBytes = keyFile.readAll();
    QSslKey key(keyBytes, QSsl::Rsa, QSsl::Pem);
    if (key.isNull()) {
        key = QSslKey(keyBytes, QSsl::Ec, QSsl::Pem);
    }
    if (chain.isEmpty() || key.isNull()) {
        throw std::runtime_error(QStringLiteral("o certificado %1 ou a chave %2 não está em PEM").arg(options.tlsCertificate, options.tlsKey).toStdString());
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone); // clients prove themselves with a password
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    return configuration;
}

bool isLoopback(const QString &host)
{
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

int addOperator(const ServerOptions &options, const DatabaseLocation &location)
{
    // Said before the password is asked for: such a code could never be stored.
    const QString tooLong = OperatorBook::lengthProblem(options.addOperator);
    if (!tooLong.isEmpty()) {
        throw std::invalid_argument(tooLong.toStdString());
    }
    const QString password = PasswordPrompt::askTwice(QStringLiteral("Senha do operador %1").arg(options.addOperator));
    bool added = false;
    {
        QSqlDatabase db = location.open(QStringLiteral("appserver-operators"), options.busyTimeoutMs);
        SchemaMigrator(db).migrate();
        added = OperatorBook::set(db, options.addOperator, password);
        db.close();
    }
    printErr(added ? QStringLiteral("operador %1 cadastrado").arg(options.addOperator)
                   : QStringLiteral("senha do operador %1 trocada").arg(options.addOperator));
    return 0;
}

int migrate(const ServerOptions &options, const DatabaseLocation &location)
{
    QStringList applied;
    {
        QSqlDatabase db = location.open(QStringLiteral("appserver-migrate"), options.busyTimeoutMs);
        try {
            applied = SchemaMigrator(db).migrate();
        } catch (const std::exception &error) {
            throw std::runtime_error(QStringLiteral("migração não aplicada em %1 (as anteriores a ela ficam aplicadas): %2")
                                         .arg(location.describe(), QString::fromUtf8(error.what())).toStdString());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("appserver-migrate"));
    printErr(applied.isEmpty() ? QStringLiteral("nenhuma migração pendente em %1").arg(location.describe())
                               : QStringLiteral("migrações aplicadas em %1: %2").arg(location.describe(), applied.join(QStringLiteral(", "))));
    return 0;
}

// A current schema is served as it is: the serving role needs only SELECT
// on SCHEMAVERSION. Pending files are applied where the role may (SQLite,
// the owner on PostgreSQL); a role that may not is refused, naming the
// command that applies them as the owner.
void bringSchemaUpToDate(const QSqlDatabase &db)
{
    SchemaMigrator migrator(db);
    const QStringList pending = migrator.pending();
    if (pending.isEmpty()) {
        return;
    }
    try {
        migrator.migrate();
    } catch (const std::exception &error) {
        throw std::runtime_error(QStringLiteral("o banco tem migrações pendentes (%1) que este usuário do banco não pôde aplicar: %2\n"
                                                "Aplique-as como dono do banco com appserver --db ... --migrate e inicie o servidor de novo.")
                                     .arg(pending.join(QStringLiteral(", ")), QString::fromUtf8(error.what())).toStdString());
    }
    printErr(QStringLiteral("migrações aplicadas: %1").arg(pending.join(QStringLiteral(", "))));
}

int serve(QCoreApplication &app, const ServerOptions &options, const DatabaseLocation &location)
{
    bool operators = false;
    {
        QSqlDatabase db = location.open(QStringLiteral("appserver-migrate"), options.busyTimeoutMs);
        bringSchemaUpToDate(db);
        operators = OperatorBook::hasOperators(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("appserver-migrate"));
    const bool loopback = isLoopback(options.listenHost);
    if (!loopback && (!options.tls() || !operators)) {
        printErr(QStringLiteral("recusado escutar em %1: fora do endereço local (127.0.0.1) o servidor só atende com TLS "
                                "(--tls-cert e --tls-key) e com operadores cadastrados (--add-operator)%2")
                     .arg(options.listenHost, !options.tls() ? QStringLiteral("; falta o TLS") : QStringLiteral("; não há operadores cadastrados")));
        return 2;
    }
    ClientConnection::Settings settings;
    settings.database = std::make_shared<DatabasePool>(
        DatabasePool::Settings{location, options.databaseConnections, options.busyTimeoutMs, options.statementTimeoutMs});
    settings.maxLineLength = options.maxLineLength;
    settings.partialLines = std::make_shared<LineBudget>(options.maxPartialLines);
    settings.classes = std::make_shared<ConnectionClasses>(options.maxUnauthenticated, options.maxUnauthenticatedPerAddress,
                                                           options.maxConnectionsPerOperator);
    settings.handshakeTimeoutMs = options.handshakeTimeoutMs;
    settings.idleTimeoutMs = options.idleTimeoutMs;
    settings.lineTimeoutMs = options.lineTimeoutMs;
    settings.stallTimeoutMs = options.stallTimeoutMs;
    settings.requireOperators = !loopback;
    if (options.tls()) {
        settings.tls = tlsConfiguration(options);
    }
    std::unique_ptr<NoticeListener> noticeListener;
    if (options.notices) {
        settings.notices = std::make_shared<NoticeHub>(maxUnsentNoticeBytes);
        // On SQLite this process is the database's only server and its
        // writers hand their notices to the hub themselves.
        if (location.isPostgres()) {
            noticeListener = std::make_unique<NoticeListener>(location, settings.notices.get());
        }
    }
    ShutdownSignals stopSignals;
    AppServer server(settings, AppServer::Limits{connectionsTheDescriptorsAllow(options.maxConnections), options.maxConnectionsPerAddress});
    QObject::connect(&stopSignals, &ShutdownSignals::requested, &app, &QCoreApplication::quit);
    if (!server.listen(QHostAddress(options.listenHost), options.listenPort)) {
        printErr(QStringLiteral("não foi possível escutar em %1:%2: %3").arg(options.listenHost).arg(options.listenPort).arg(server.errorString()));
        return 1;
    }
    std::printf("listening on %s:%u\n", options.listenHost.toUtf8().constData(), unsigned(server.serverPort()));
    std::fflush(stdout);
    printErr(QStringLiteral("servindo %1%2%3").arg(location.describe(), options.tls() ? QStringLiteral(" com TLS") : QString(),
                                                  operators ? QStringLiteral(", com senha") : QStringLiteral(", sem senha")));
    const int code = app.exec();
    const bool allStopped = server.shutdown(options.shutdownTimeoutMs);
    CallLog::note(QStringLiteral("encerrado"));
    const bool logWritten = CallLog::flush(1000);
    if (!allStopped || !logWritten) {
        // A thread still inside the database, or the log's writer stuck on a
        // standard error nobody reads, cannot be waited for: ending the
        // process drops the database connection, and the database rolls
        // back what it had not committed.
        std::_Exit(code);
    }
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    try {
        const ServerOptions options = ServerOptions::parse(app.arguments());
        const DatabaseLocation location = DatabaseLocation::parse(options.database);
        if (options.addingOperator()) {
            return addOperator(options, location);
        }
        if (options.migrating) {
            return migrate(options, location);
        }
        return options.seeding() ? seed(options, location) : serve(app, options, location);
    } catch (const std::exception &error) {
        printErr(QString::fromUtf8(error.what()));
        return 2;
    }
}
