// How long a client is without a server when the one it talks to is killed.
//
// Two appserver processes serve one PostgreSQL database (on SQLite, each its
// own copy of one seeded file: a SQLite file belongs to one process). A
// client connection holding both addresses calls the first; then the first
// is killed with SIGKILL and the time to the next answered call, now from the
// second, is measured. Each round starts a fresh server in place of the one
// killed. Baselines in the same run: a call on an open connection, and a
// fresh connection's connect and first call.

#include "BenchConnection.h"
#include "EngineRuns.h"
#include "PostgresCluster.h"
#include "Samples.h"
#include "SeededDatabase.h"
#include "ServerProcess.h"
#include "TNetConnection.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

constexpr int quotes = 1000;

QString address(const ServerProcess &server)
{
    return QStringLiteral("127.0.0.1:%1").arg(server.port());
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// `databaseOf(i)` is the database the i-th server started serves.
bool measure(const QString &engine, int rounds, const std::function<QString(int)> &databaseOf)
{
    Samples open, fresh, failover;
    int started = 0;
    auto first = std::make_unique<ServerProcess>(databaseOf(started++));
    auto second = std::make_unique<ServerProcess>(databaseOf(started++));
    first->start();
    second->start();
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        auto connection = BenchConnection::open(first->port());
        connection->Call(QStringLiteral("GetParamOrca"));
        fresh.add(msSince(timer));
        connection->SetServers({address(*first), address(*second)});
        // As the screen's reads: one cut off by the kill is asked of the second.
        connection->SetReadMethods({QStringLiteral("GetParamOrca")});
        timer.restart();
        connection->Call(QStringLiteral("GetParamOrca"));
        open.add(msSince(timer));

        timer.restart();
        ::kill(pid_t(first->processId()), SIGKILL);
        connection->Call(QStringLiteral("GetParamOrca"));
        failover.add(msSince(timer));
        if (connection->CurrentServer() != address(*second)) {
            std::fprintf(stderr, "bench_failover: the call after the kill was answered by %s\n", qPrintable(connection->CurrentServer()));
            return false;
        }
        first = std::move(second);
        second = std::make_unique<ServerProcess>(databaseOf(started++));
        second->start();
    }
    std::printf("%-10s %6d %10.2f %10.2f %10.2f %10.2f %8.1fx\n", qPrintable(engine), rounds, open.median(), fresh.median(),
                failover.median(), failover.percentile(100), failover.median() / fresh.median());
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Time from a server killed to the next call answered by another"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("engines"), QStringLiteral("sqlite, postgres or both, comma-separated."), QStringLiteral("list"),
                      QStringLiteral("sqlite,postgres")});
    parser.addOption({QStringLiteral("rounds"), QStringLiteral("Servers killed per engine."), QStringLiteral("n"), QStringLiteral("10")});
    parser.process(app);
    const int rounds = parser.value(QStringLiteral("rounds")).toInt();

    std::printf("Failover: a server killed (SIGKILL) under an idle client that knows two; medians of %d rounds, ms\n", rounds);
    std::printf("%-10s %6s %10s %10s %10s %10s %9s\n", "engine", "rounds", "open call", "new conn.", "failover", "max", "/new");
    QTemporaryDir dir;
    std::unique_ptr<PostgresCluster> cluster;
    return runEngines(
        "bench_failover", parser.value(QStringLiteral("engines")).split(QLatin1Char(','), Qt::SkipEmptyParts),
        [&] {
            const QString seeded = SeededDatabase::sqliteFile(quotes);
            return measure(QStringLiteral("SQLite"), rounds, [&](int index) {
                const QString copy = dir.filePath(QStringLiteral("failover-%1.db").arg(index));
                SeededDatabase::copySqlite(seeded, copy);
                return copy;
            });
        },
        [&] {
            QString reason;
            if (!PostgresCluster::available(&reason)) {
                std::printf("%-10s skipped: %s\n", "PostgreSQL", qPrintable(reason));
                return true;
            }
            cluster = std::make_unique<PostgresCluster>();
            cluster->start();
            cluster->createDatabase(QStringLiteral("failover"));
            const QString url = cluster->url(QStringLiteral("failover"));
            SeededDatabase::seed(url, quotes);
            return measure(QStringLiteral("PostgreSQL"), rounds, [&url](int) { return url; });
        });
}
