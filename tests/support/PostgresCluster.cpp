#include "PostgresCluster.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>

#include <pwd.h>
#include <unistd.h>

#include <stdexcept>

namespace {

const QString binDir = QStringLiteral("/usr/lib/postgresql/15/bin");

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

PostgresCluster::PostgresCluster()
    : m_temporary(std::make_unique<QTemporaryDir>()), m_folder(m_temporary->path())
{
}

PostgresCluster::PostgresCluster(const QString &folder)
    : m_folder(folder)
{
}

PostgresCluster::~PostgresCluster()
{
    stop();
}

bool PostgresCluster::available(QString *reason)
{
    for (const QString &tool : {QStringLiteral("initdb"), QStringLiteral("pg_ctl")}) {
        if (!QFileInfo(binDir + QLatin1Char('/') + tool).isExecutable()) {
            *reason = QStringLiteral("%1/%2 is not installed").arg(binDir, tool);
            return false;
        }
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        *reason = QStringLiteral("Qt's QPSQL driver is not installed");
        return false;
    }
    return true;
}

void PostgresCluster::run(const QString &program, const QStringList &arguments) const
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_folder);
    const QString tool = binDir + QLatin1Char('/') + program;
    if (runningAsRoot()) {
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), tool} + arguments);
    } else {
        process.start(tool, arguments);
    }
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        throw std::runtime_error(QStringLiteral("%1 failed: %2").arg(program, QString::fromUtf8(process.readAll())).toStdString());
    }
}

void PostgresCluster::handToPostgres(const QString &folder) const
{
    if (!runningAsRoot()) {
        return;
    }
    const passwd *postgres = ::getpwnam("postgres");
    if (!postgres || ::chown(folder.toLocal8Bit().constData(), postgres->pw_uid, postgres->pw_gid) != 0) {
        throw std::runtime_error("cannot hand the cluster's folders to the postgres user");
    }
}

void PostgresCluster::start()
{
    if ((m_temporary && !m_temporary->isValid()) || !QDir().mkpath(m_folder)) {
        throw std::runtime_error("no folder for the PostgreSQL cluster");
    }
    m_socketDir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/pgsock-XXXXXX"));
    if (!m_socketDir->isValid()) {
        throw std::runtime_error("no folder for the PostgreSQL cluster's socket");
    }
    handToPostgres(m_folder);
    handToPostgres(m_socketDir->path());
    const QString data = m_folder + QStringLiteral("/data");
    if (!QFileInfo::exists(data + QStringLiteral("/PG_VERSION"))) {
        run(QStringLiteral("initdb"), {QStringLiteral("-D"), data, QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-A"),
                                       QStringLiteral("trust"), QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C"),
                                       QStringLiteral("--no-sync")});
    }
    m_port = freePort();
    const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off "
                                           "-c full_page_writes=off -c max_connections=80")
                                .arg(m_port)
                                .arg(m_socketDir->path());
    run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), data, QStringLiteral("-l"), m_folder + QStringLiteral("/server.log"),
                                   QStringLiteral("-o"), options, QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"),
                                   QStringLiteral("start")});
    m_running = true;
}

void PostgresCluster::stop()
{
    if (!m_running) {
        return;
    }
    m_running = false;
    try {
        run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), m_folder + QStringLiteral("/data"), QStringLiteral("-m"),
                                       QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
    } catch (const std::exception &) {
        // A cluster that will not stop is left to the temporary folder's
        // removal; its work is already done.
    }
    m_socketDir.reset();
}

void PostgresCluster::createDatabase(const QString &name) const
{
    const QString connection = QStringLiteral("throwaway-postgres-admin");
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(m_port);
        db.setUserName(QStringLiteral("postgres"));
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("CREATE DATABASE %1").arg(name))) {
                error = query.lastError().text();
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!error.isEmpty()) {
        throw std::runtime_error(QStringLiteral("cannot create database %1: %2").arg(name, error).toStdString());
    }
}

QString PostgresCluster::url(const QString &database) const
{
    return QStringLiteral("postgresql://postgres@127.0.0.1:%1/%2").arg(m_port).arg(database);
}
