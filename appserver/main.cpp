#include "AppServer.h"
#include "DatabaseLocation.h"
#include "DemoSeeder.h"
#include "SchemaMigrator.h"
#include "ServerOptions.h"
#include "ShutdownSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QSqlDatabase>

#include <cstdio>
#include <exception>

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

int serve(QCoreApplication &app, const ServerOptions &options, const DatabaseLocation &location)
{
    {
        QSqlDatabase db = location.open(QStringLiteral("appserver-migrate"), options.busyTimeoutMs);
        SchemaMigrator(db).migrate();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("appserver-migrate"));
    ShutdownSignals stopSignals;
    AppServer server(location, AppServer::Limits{options.maxLineLength, options.busyTimeoutMs});
    QObject::connect(&stopSignals, &ShutdownSignals::requested, &app, &QCoreApplication::quit);
    if (!server.listen(QHostAddress(options.listenHost), options.listenPort)) {
        printErr(QStringLiteral("não foi possível escutar em %1:%2: %3").arg(options.listenHost).arg(options.listenPort).arg(server.errorString()));
        return 1;
    }
    std::printf("listening on %s:%u\n", options.listenHost.toUtf8().constData(), unsigned(server.serverPort()));
    std::fflush(stdout);
    printErr(QStringLiteral("servindo %1").arg(location.describe()));
    const int code = app.exec();
    server.shutdown();
    printErr(QStringLiteral("encerrado"));
    return code;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    try {
        const ServerOptions options = ServerOptions::parse(app.arguments());
        const DatabaseLocation location = DatabaseLocation::parse(options.database);
        return options.seeding() ? seed(options, location) : serve(app, options, location);
    } catch (const std::exception &error) {
        printErr(QString::fromUtf8(error.what()));
        return 2;
    }
}
