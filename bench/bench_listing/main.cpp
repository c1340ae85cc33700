// Listing through the application server against the bare query.
//
// For each database size: the real appserver serves the cached SQLite file,
// and this process times GetOrcamento with the default filter for one
// branch, from the call until the rows are loaded in a record list, against
// the same SELECT run directly through QtSql on the same file. The two are
// run alternately, after one unmeasured warm-up each, so both see the same
// page cache. Prints medians and their ratio, and then where the time of a
// listing through the server goes: the server's own logged handling time,
// and the client's steps timed one by one on a captured answer line.

#include "BareQuoteQuery.h"
#include "BenchConnection.h"
#include "CheckedAnswer.h"
#include "ClientPhases.h"
#include "QuoteListing.h"
#include "RawCall.h"
#include "RecordList.h"
#include "Samples.h"
#include "SeededDatabase.h"
#include "ServerAnswer.h"
#include "ServerProcess.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>
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
    int quotes = 0;
    double totalMs = 0;
    double sqlMs = 0;
    double serverMs = 0;
    ClientPhases::Medians client;
    qsizetype lineBytes = 0;
};

Breakdown measure(int quotes, int runs, const QString &branch)
{
    const QString file = SeededDatabase::sqliteFile(quotes);
    ServerProcess server(file);
    server.start();
    auto connection = BenchConnection::open(server.port());
    BareQuoteQuery bare(file);

    qsizetype sqlRows = 0;
    listThroughServer(*connection, branch);
    listThroughSql(bare, branch, &sqlRows);

    Samples sql, total, call, load;
    qsizetype serverRows = 0;
    for (int run = 0; run < runs; ++run) {
        // Alternating the order keeps either side from always finding the
        // caches the other just warmed.
        double sqlMs = 0;
        ServerTiming timing;
        if (run % 2 == 0) {
            timing = listThroughServer(*connection, branch);
            sqlMs = listThroughSql(bare, branch, &sqlRows);
        } else {
            sqlMs = listThroughSql(bare, branch, &sqlRows);
            timing = listThroughServer(*connection, branch);
        }
        sql.add(sqlMs);
        total.add(timing.totalMs);
        call.add(timing.callMs);
        load.add(timing.totalMs - timing.callMs);
        serverRows = timing.rows;
    }
    if (serverRows != sqlRows) {
        throw std::runtime_error(QStringLiteral("the server listed %1 rows, the query %2").arg(serverRows).arg(sqlRows).toStdString());
    }
    Samples logged;
    const QList<qint64> durations = server.loggedDurations(QStringLiteral("GetOrcamento"));
    for (qsizetype i = 1; i < durations.size(); ++i) { // the first is the warm-up
        logged.add(double(durations.at(i)));
    }
    connection->Disconnect();
    const QByteArray line =
        RawCall::answerLine(server.port(), QStringLiteral("GetOrcamento"), QuoteListing().arguments(branch));
    server.stop();

    std::printf("%9d %8lld %9.1f %10.1f %9.1f %9.1f %11.0f %7.2f\n", quotes, static_cast<long long>(serverRows), sql.median(),
                total.median(), call.median(), load.median(), logged.median(), total.median() / sql.median());
    std::fflush(stdout);
    return {quotes, total.median(), sql.median(), logged.median(), ClientPhases::measure(line, runs), line.size()};
}

void printBreakdown(const QList<Breakdown> &breakdowns)
{
    std::printf("\nWhere a listing through the server goes (medians, ms): the server's logged handling time (its query, "
                "the packet written as JSON), the client's steps timed one by one on a captured answer line, and the rest "
                "(sending the line and waits; below zero where the client read rows while the server still wrote them)\n");
    std::printf("%9s %10s %9s %10s %9s %9s %9s %9s\n", "quotes", "line MiB", "bare SQL", "via server", "server", "read",
                "load", "rest");
    for (const Breakdown &b : breakdowns) {
        const double rest = b.totalMs - b.serverMs - b.client.readMs - b.client.loadMs;
        std::printf("%9d %10.1f %9.1f %10.1f %9.0f %9.1f %9.1f %9.1f\n", b.quotes, double(b.lineBytes) / (1024.0 * 1024.0), b.sqlMs,
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
    parser.process(app);

    const int runs = parser.value(QStringLiteral("runs")).toInt();
    const QString branch = parser.value(QStringLiteral("branch"));
    std::printf("Listing: GetOrcamento (default filter, branch %s) until loaded in a RecordList, against the bare QtSql query; "
                "medians of %d runs, ms\n",
                qPrintable(branch), runs);
    std::printf("%9s %8s %9s %10s %9s %9s %11s %7s\n", "quotes", "rows", "bare SQL", "via server", "of: call", "of: load",
                "server log", "ratio");
    try {
        QList<Breakdown> breakdowns;
        for (const QString &size : parser.value(QStringLiteral("sizes")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            breakdowns << measure(size.toInt(), runs, branch);
        }
        printBreakdown(breakdowns);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "bench_listing: %s\n", error.what());
        return 1;
    }
    return 0;
}
