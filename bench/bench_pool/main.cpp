// Fifty clients making small calls at once, through pools of database
// connections of several sizes.
//
// For each engine the real appserver serves a small seeded database while
// N client threads, each with its own connection, call GetParamOrca (one
// row: the call is the server's own handling and the borrowing of a
// database connection) as fast as they can for a fixed time. The baseline
// is the first run: an earlier build of the server given by --before (one
// database connection per client connection, as before the pool), or else
// the first pool size. Then as many clients as --idle asks log in one after
// another, make one call each and stay: on PostgreSQL the database's
// backends are counted, which the pool bounds (the server before the pool
// is refused once they run out).

#include "BenchConnection.h"
#include "EngineRuns.h"
#include "PostgresCluster.h"
#include "Samples.h"
#include "SeededDatabase.h"
#include "ServerProcess.h"
#include "SqlConnection.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

struct Settings {
    QString before; // an appserver without the pool, or empty
    int clients = 50;
    int seconds = 10;
    int idle = 1000;
    QList<int> pools{50, 20, 5};

    // The pool sizes to run, 0 standing for the --before server.
    QList<int> runs() const { return before.isEmpty() ? pools : QList<int>{0} + pools; }
};

struct Tally {
    Samples callMs;
    qint64 errors = 0;
    QString firstError;
};

// One client's calls until the deadline.
void callUntil(quint16 port, const QDeadlineTimer &deadline, Tally &tally)
{
    try {
        const auto connection = BenchConnection::open(port);
        QElapsedTimer timer;
        while (!deadline.hasExpired()) {
            timer.start();
            try {
                connection->Call(QStringLiteral("GetParamOrca"));
                tally.callMs.add(double(timer.nsecsElapsed()) / 1e6);
            } catch (const std::exception &error) {
                if (tally.errors++ == 0) {
                    tally.firstError = QString::fromUtf8(error.what());
                }
            }
        }
    } catch (const std::exception &error) {
        ++tally.errors;
        tally.firstError = QString::fromUtf8(error.what());
    }
}

// The backends of the database on its cluster, the counting one left out.
int backends(const SqlConnection &counter)
{
    QSqlQuery query(QStringLiteral("SELECT count(*) - 1 FROM pg_stat_activity WHERE datname = current_database()"), counter.db());
    return query.next() ? query.value(0).toInt() : -1;
}

struct Baseline {
    double callsPerSecond = 0;
    double p99 = 0;
};

// One run, through a pool of `pool` connections or, at 0, the --before
// server: the clients' calls, then the idle clients; false on any error.
bool runPool(const QString &engine, const QString &location, const SqlConnection *counter, const Settings &settings, int pool,
             std::optional<Baseline> &baseline)
{
    // Every client comes from one address and connects at once.
    const QString everyone = QString::number(settings.clients + settings.idle + 10);
    QStringList arguments{QStringLiteral("--max-connections"), everyone, QStringLiteral("--max-connections-per-address"), everyone,
                          QStringLiteral("--max-unauthenticated"), everyone,
                          QStringLiteral("--max-unauthenticated-per-address"), everyone};
    if (pool > 0) {
        arguments << QStringLiteral("--max-db-connections") << QString::number(pool);
    }
    ServerProcess server(location, arguments, pool > 0 ? QString() : settings.before);
    server.start();
    std::vector<Tally> tallies(size_t(settings.clients));
    const QDeadlineTimer deadline(qint64(settings.seconds) * 1000);
    QElapsedTimer wall;
    wall.start();
    std::vector<std::thread> threads;
    for (Tally &tally : tallies) {
        threads.emplace_back([&tally, &server, deadline] { callUntil(server.port(), deadline, tally); });
    }
    for (std::thread &thread : threads) {
        thread.join();
    }
    const double seconds = double(wall.elapsed()) / 1000.0;
    Tally total;
    for (const Tally &tally : tallies) {
        total.callMs.merge(tally.callMs);
        total.errors += tally.errors;
        if (total.firstError.isEmpty()) {
            total.firstError = tally.firstError;
        }
    }

    // Served until the first refusal: the server before the pool runs out
    // of PostgreSQL backends, which is what is measured, not an error.
    std::vector<std::unique_ptr<TNetConnection>> idle;
    qsizetype idleServed = 0;
    try {
        for (int i = 0; i < settings.idle; ++i) {
            idle.push_back(BenchConnection::open(server.port()));
            idle.back()->Call(QStringLiteral("GetParamOrca"));
            ++idleServed;
        }
    } catch (const std::exception &error) {
        total.errors += pool > 0 ? 1 : 0;
        std::printf("    idle client %lld refused: %s\n", static_cast<long long>(idleServed + 1), error.what());
    }
    const QString held = counter ? QString::number(backends(*counter)) : QStringLiteral("-");
    idle.clear();
    server.stop();

    const double callsPerSecond = double(total.callMs.count()) / seconds;
    const double p99 = total.callMs.percentile(99);
    if (!baseline) {
        baseline = Baseline{callsPerSecond, p99};
    }
    const QString label = pool > 0 ? QString::number(pool) : QStringLiteral("before");
    std::printf("%-10s %6s %9lld %9.0f %6.2f %7.2f %7.2f %8.2fx %8.2fx %6lld %9s %6lld\n", qPrintable(engine), qPrintable(label),
                static_cast<long long>(total.callMs.count()), callsPerSecond, total.callMs.median(), p99, total.callMs.percentile(99.9),
                callsPerSecond / baseline->callsPerSecond, p99 / baseline->p99, static_cast<long long>(idleServed), qPrintable(held),
                static_cast<long long>(total.errors));
    if (!total.firstError.isEmpty()) {
        std::printf("    error: %s\n", qPrintable(total.firstError));
    }
    std::fflush(stdout);
    return total.errors == 0;
}

bool runSqlite(const Settings &settings)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pool.db"));
    SeededDatabase::copySqlite(SeededDatabase::sqliteFile(10000), file);
    std::optional<Baseline> baseline;
    bool passed = true;
    for (const int pool : settings.runs()) {
        passed = runPool(QStringLiteral("SQLite"), file, nullptr, settings, pool, baseline) && passed;
    }
    return passed;
}

bool runPostgres(const Settings &settings)
{
    QString reason;
    if (!PostgresCluster::available(&reason)) {
        std::printf("%-10s skipped: %s\n", "PostgreSQL", qPrintable(reason));
        return true;
    }
    PostgresCluster cluster;
    cluster.start();
    const QString database = QStringLiteral("pool");
    cluster.createDatabase(database);
    SeededDatabase::seed(cluster.url(database), 1000);
    const SqlConnection counter(cluster, database);
    std::optional<Baseline> baseline;
    bool passed = true;
    for (const int pool : settings.runs()) {
        passed = runPool(QStringLiteral("PostgreSQL"), cluster.url(database), &counter, settings, pool, baseline) && passed;
    }
    return passed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Small calls of many clients through pools of database connections"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("engines"), QStringLiteral("sqlite, postgres or both, comma-separated."), QStringLiteral("list"),
                      QStringLiteral("sqlite,postgres")});
    parser.addOption({QStringLiteral("clients"), QStringLiteral("Concurrent clients."), QStringLiteral("n"), QStringLiteral("50")});
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Duration of each run."), QStringLiteral("s"), QStringLiteral("10")});
    parser.addOption({QStringLiteral("idle"), QStringLiteral("Idle clients logged in after each run."), QStringLiteral("n"), QStringLiteral("1000")});
    parser.addOption({QStringLiteral("before"), QStringLiteral("An appserver built before the pool, run first as the baseline."),
                      QStringLiteral("path")});
    parser.addOption({QStringLiteral("pools"), QStringLiteral("Pool sizes, comma-separated; the first is the baseline."), QStringLiteral("list"),
                      QStringLiteral("50,20,5")});
    parser.process(app);

    Settings settings;
    settings.clients = parser.value(QStringLiteral("clients")).toInt();
    settings.seconds = parser.value(QStringLiteral("seconds")).toInt();
    settings.idle = parser.value(QStringLiteral("idle")).toInt();
    settings.before = parser.value(QStringLiteral("before"));
    settings.pools.clear();
    for (const QString &size : parser.value(QStringLiteral("pools")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (size.toInt() < 1) {
            std::fprintf(stderr, "bench_pool: --pools takes sizes of at least 1\n");
            return 1;
        }
        settings.pools << size.toInt();
    }
    const QStringList engines = parser.value(QStringLiteral("engines")).split(QLatin1Char(','), Qt::SkipEmptyParts);

    std::printf("Pool: %d clients calling GetParamOrca for %d s per pool size, then %d idle clients; latencies in ms; "
                "ratios against the first run\n",
                settings.clients, settings.seconds, settings.idle);
    std::printf("%-10s %6s %9s %9s %6s %7s %7s %9s %9s %6s %9s %6s\n", "engine", "pool", "calls", "calls/s", "p50", "p99", "p99.9", "calls/s", "p99",
                "idle", "backends", "errors");
    return runEngines("bench_pool", engines, [&settings] { return runSqlite(settings); },
                      [&settings] { return runPostgres(settings); });
}
