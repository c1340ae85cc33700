// Listing through the application server against the bare query.
//
// For each database size: the real appserver serves the cached SQLite file,
// and this process times GetOrcamento with the default filter for one
// branch, from the call until the rows are loaded in a record list, against
// the same SELECT run directly through QtSql on the same file. The two are
// run alternately, after one unmeasured warm-up each, so both see the same
// page cache; after each pair the `sqlite3` tool runs the SELECT too, the
// floor of reading those rows at all. Prints medians and their ratios, and
// then where the time of a listing through the server goes: the server's
// own logged handling time, and the client's steps timed one by one on a
// captured answer line. Last, the same listing on PostgreSQL: a cached
// cluster seeded with the same quotes, against the SELECT through QtSql and
// the `psql` tool's own time for it, with the same breakdown. With
// --before, an earlier build of the server is measured the same way after
// this build's, on each database, as the baseline.

#include "BareQuoteQuery.h"
#include "BenchConnection.h"
#include "CheckedAnswer.h"
#include "ClientPhases.h"
#include "PostgresCluster.h"
#include "PsqlQuery.h"
#include "QuoteListing.h"
#include "RawCall.h"
#include "RecordList.h"
#include "Samples.h"
#include "SeededDatabase.h"
#include "ServerAnswer.h"
#include "ServerProcess.h"
#include "SqlConnection.h"
#include "SqliteShellQuery.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace {

struct ServerTiming {
    double totalMs = 0;
    double callMs = 0; // until the answer is parsed, before loading
    qsizetype rows = 0;
};

ServerTiming listThroughServer(TNetConnection &connection, const QString &branch)
{
    QuoteListing filter;
    ServerTiming timing;
    QElapsedTimer timer;
    timer.start();
    std::optional<PacketColumns> packet;
    const QJsonValue answer = connection.CallPacket(QStringLiteral("GetOrcamento"), TNetArg::listing(branch, filter), packet);
    CheckedAnswer::dataOf(answer);
    timing.callMs = double(timer.nsecsElapsed()) / 1e6;
    auto cdsOrcamento = std::make_unique<RecordList>(QStringLiteral("cdsOrcamento"));
    ServerAnswer::LoadPacket(*cdsOrcamento, std::move(packet));
    timing.totalMs = double(timer.nsecsElapsed()) / 1e6;
    timing.rows = cdsOrcamento->recordCount();
    return timing;
}

double listThroughSql(BareQuoteQuery &query, const QString &branch, qsizetype *rows)
{
    QElapsedTimer timer;
    timer.start();
    *rows = query.run(branch);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    query.release();
    return ms;
}

struct Breakdown {
    QString label; // the database size, or the server build
    double totalMs = 0;
    double sqlMs = 0;
    double serverMs = 0;
    ClientPhases::Medians client;
    qsizetype lineBytes = 0;
};

struct Timings {
    Samples sql, shell, total, call, load;
    qsizetype rows = 0;
};

// The listing through the server and the bare query, alternately, after
// one unmeasured warm-up of each; `floor` (the engine's own tool), when
// there is one, after each pair.
Timings timeListings(TNetConnection &connection, BareQuoteQuery &bare, const std::function<double()> &floor, const QString &branch,
                     int runs)
{
    qsizetype sqlRows = 0;
    listThroughServer(connection, branch);
    listThroughSql(bare, branch, &sqlRows);

    Timings timings;
    for (int run = 0; run < runs; ++run) {
        // Alternating the order keeps either side from always finding the
        // caches the other just warmed.
        double sqlMs = 0;
        ServerTiming timing;
        if (run % 2 == 0) {
            timing = listThroughServer(connection, branch);
            sqlMs = listThroughSql(bare, branch, &sqlRows);
        } else {
            sqlMs = listThroughSql(bare, branch, &sqlRows);
            timing = listThroughServer(connection, branch);
        }
        if (floor) {
            timings.shell.add(floor());
        }
        timings.sql.add(sqlMs);
        timings.total.add(timing.totalMs);
        timings.call.add(timing.callMs);
        timings.load.add(timing.totalMs - timing.callMs);
        timings.rows = timing.rows;
    }
    if (timings.rows != sqlRows) {
        throw std::runtime_error(QStringLiteral("the server listed %1 rows, the query %2").arg(timings.rows).arg(sqlRows).toStdString());
    }
    return timings;
}

// The server's own handling times of the measured listings.
Samples loggedListings(const ServerProcess &server)
{
    Samples logged;
    const QList<qint64> durations = server.loggedDurations(QStringLiteral("GetOrcamento"));
    for (qsizetype i = 1; i < durations.size(); ++i) { // the first is the warm-up
        logged.add(double(durations.at(i)));
    }
    return logged;
}

struct Served {
    Timings timings;
    Samples logged;
    QByteArray line; // one answer line, for the client's breakdown
};

// The listings through a started server against the bare query (and the
// floor), then one line captured over a plain socket; stops the server.
Served serveListings(ServerProcess &server, BareQuoteQuery &bare, const std::function<double()> &floor, const QString &branch, int runs)
{
    auto connection = BenchConnection::open(server.port());
    Served served{timeListings(*connection, bare, floor, branch, runs), loggedListings(server), {}};
    connection->Disconnect();
    served.line = RawCall::answerLine(server.port(), QStringLiteral("GetOrcamento"), QuoteListing().arguments(branch));
    server.stop();
    return served;
}

// One build of the server (`executable`, this build's when empty) listing
// from the SQLite file of `quotes` quotes: printed as a row labelled
// `label`, returned for the breakdown.
Breakdown measure(const QString &label, const QString &executable, int quotes, int runs, const QString &branch)
{
    const QString file = SeededDatabase::sqliteFile(quotes);
    ServerProcess server(file, {}, executable);
    server.start();
    const SqlConnection sqlite(file, SqlConnection::Access::ReadOnly);
    BareQuoteQuery bare(sqlite.db());
    QString shellMissing;
    std::optional<SqliteShellQuery> shell;
    if (SqliteShellQuery::available(&shellMissing)) {
        shell.emplace(file, BareQuoteQuery::withLiterals(branch));
    }

    std::function<double()> floor;
    if (shell) {
        floor = [&shell] { return shell->run(); };
    }
    const auto [timings, logged, line] = serveListings(server, bare, floor, branch, runs);

    const double total = timings.total.median();
    const QByteArray shellMs = shell ? QByteArray::number(timings.shell.median(), 'f', 1) : QByteArray("-");
    const QByteArray shellRatio = shell ? QByteArray::number(total / timings.shell.median(), 'f', 2) : QByteArray("-");
    std::printf("%9s %8lld %9.1f %11s %10.1f %9.1f %9.1f %11.0f %7.2f %7.2f %10s\n", qPrintable(label), static_cast<long long>(timings.rows),
                timings.sql.median(), shellMs.constData(), total, timings.call.median(), timings.load.median(), logged.median(),
                logged.median() / timings.sql.median(), total / timings.sql.median(), shellRatio.constData());
    if (!shell) {
        std::printf("%9s sqlite3 column skipped: %s\n", "", qPrintable(shellMissing));
    }
    std::fflush(stdout);
    return {label, total, timings.sql.median(), logged.median(), ClientPhases::measure(line, runs), line.size()};
}

// One build of the server (`executable`, this build's when empty) listing
// from the cluster at `location`: printed as a row, returned for the
// breakdown.
Breakdown measurePostgresServer(const QString &label, const QString &executable, const QString &location, BareQuoteQuery &bare,
                                const PsqlQuery &psql, const QString &branch, int runs)
{
    ServerProcess server(location, {}, executable);
    server.start();
    const auto [timings, logged, line] = serveListings(server, bare, [&psql] { return psql.run(); }, branch, runs);

    const double total = timings.total.median();
    std::printf("%9s %8lld %9.1f %9.1f %10.1f %11.0f %7.2f %7.2f %8.2f\n", qPrintable(label), static_cast<long long>(timings.rows),
                timings.sql.median(), timings.shell.median(), total, logged.median(), logged.median() / timings.sql.median(),
                total / timings.sql.median(), total / timings.shell.median());
    std::fflush(stdout);
    return {label, total, timings.sql.median(), logged.median(), ClientPhases::measure(line, runs), line.size()};
}

QList<Breakdown> measurePostgres(int quotes, int runs, const QString &branch, const QString &before)
{
    std::printf("\nPostgreSQL, %d quotes: the same listing on a cluster seeded with the same quotes, against the same SELECT "
                "through QtSql and the psql tool's own time for it; medians of %d runs, ms\n",
                quotes, runs);
    std::printf("%9s %8s %9s %9s %10s %11s %7s %7s %8s\n", "server", "rows", "bare SQL", "psql", "via server", "server log", "server",
                "ratio", "vs psql");
    std::fflush(stdout); // seeding the cluster first prints on standard error
    QString missing;
    if (!PostgresCluster::available(&missing) || !PsqlQuery::available(&missing)) {
        std::printf("%9s skipped: %s\n", "", qPrintable(missing));
        return {};
    }
    PostgresCluster cluster(SeededDatabase::postgresCluster(quotes));
    cluster.start();
    const QString location = cluster.url(SeededDatabase::postgresDatabase);
    const SqlConnection postgres(cluster, SeededDatabase::postgresDatabase);
    BareQuoteQuery bare(postgres.db());
    const PsqlQuery psql(cluster.port(), SeededDatabase::postgresDatabase, BareQuoteQuery::withLiterals(branch));

    QList<Breakdown> breakdowns{measurePostgresServer(QStringLiteral("this"), QString(), location, bare, psql, branch, runs)};
    if (!before.isEmpty()) {
        breakdowns << measurePostgresServer(QStringLiteral("before"), before, location, bare, psql, branch, runs);
    }
    return breakdowns;
}

void printBreakdown(const char *engine, const char *label, const QList<Breakdown> &breakdowns)
{
    std::printf("\n%s: where a listing through the server goes (medians, ms): the server's logged handling time (its query, "
                "the packet written as JSON), the client's steps timed one by one on a captured answer line, and the rest "
                "(sending the line and waits; below zero where the client read rows while the server still wrote them)\n",
                engine);
    std::printf("%9s %10s %9s %10s %9s %9s %9s %9s\n", label, "line MiB", "bare SQL", "via server", "server", "read",
                "load", "rest");
    for (const Breakdown &b : breakdowns) {
        const double rest = b.totalMs - b.serverMs - b.client.readMs - b.client.loadMs;
        std::printf("%9s %10.1f %9.1f %10.1f %9.0f %9.1f %9.1f %9.1f\n", qPrintable(b.label), double(b.lineBytes) / (1024.0 * 1024.0), b.sqlMs,
                    b.totalMs, b.serverMs, b.client.readMs, b.client.loadMs, rest);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("GetOrcamento through appserver against the bare SQL query"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("sizes"), QStringLiteral("Database sizes in quotes, comma-separated."), QStringLiteral("list"),
                      QStringLiteral("10000,100000,1000000")});
    parser.addOption({QStringLiteral("runs"), QStringLiteral("Measured runs per size."), QStringLiteral("n"), QStringLiteral("7")});
    parser.addOption({QStringLiteral("branch"), QStringLiteral("Branch listed."), QStringLiteral("code"), QStringLiteral("0001")});
    parser.addOption({QStringLiteral("postgres"), QStringLiteral("Quotes of the PostgreSQL database; 0 leaves PostgreSQL out."),
                      QStringLiteral("n"), QStringLiteral("1000000")});
    parser.addOption({QStringLiteral("before"), QStringLiteral("An earlier appserver build, measured after this one as the baseline."),
                      QStringLiteral("executable")});
    parser.process(app);

    const int runs = parser.value(QStringLiteral("runs")).toInt();
    const QString branch = parser.value(QStringLiteral("branch"));
    const int postgresQuotes = parser.value(QStringLiteral("postgres")).toInt();
    const QString before = parser.value(QStringLiteral("before"));
    std::printf("Listing: GetOrcamento (default filter, branch %s) until loaded in a RecordList, against the bare QtSql query "
                "and the sqlite3 tool's own time for the same SELECT; medians of %d runs, ms; \"server\" is the server's "
                "logged time over the bare query, \"ratio\" the listing's\n",
                qPrintable(branch), runs);
    std::printf("%9s %8s %9s %11s %10s %9s %9s %11s %7s %7s %10s\n", "quotes", "rows", "bare SQL", "sqlite3 CLI", "via server",
                "of: call", "of: load", "server log", "server", "ratio", "vs sqlite3");
    try {
        QList<Breakdown> breakdowns;
        for (const QString &size : parser.value(QStringLiteral("sizes")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            breakdowns << measure(size, QString(), size.toInt(), runs, branch);
            if (!before.isEmpty()) {
                breakdowns << measure(QStringLiteral("before"), before, size.toInt(), runs, branch);
            }
        }
        printBreakdown("SQLite", "quotes", breakdowns);
        if (postgresQuotes > 0) {
            const QList<Breakdown> postgres = measurePostgres(postgresQuotes, runs, branch, before);
            if (!postgres.isEmpty()) {
                printBreakdown("PostgreSQL", "server", postgres);
            }
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "bench_listing: %s\n", error.what());
        return 1;
    }
    return 0;
}
