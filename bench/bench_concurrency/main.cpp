// Twenty operators cancelling quotes at once.
//
// For each engine (SQLite, then PostgreSQL in a throwaway cluster) the real
// appserver serves a fresh copy of a seeded database while N client threads,
// each with its own connection, run listing + cancel cycles for a fixed
// time. On PostgreSQL this is repeated with several appserver processes
// sharing the database (--servers), the clients spread over them. Every
// configuration runs without change notices (the servers started with
// --no-notices) and with them (the clients asking, as the screen does),
// twice each.
// Prints calls per second (and the ratio with notices to without), latencies, the conflicts provoked on purpose and any
// other error, and then checks the database directly: every accepted
// cancellation is stored exactly once and no other was stored. Exits
// non-zero on any error or audit mismatch.

#include "BenchConnection.h"
#include "CancelClient.h"
#include "CheckedAnswer.h"
#include "EngineRuns.h"
#include "PostgresCluster.h"
#include "RecordList.h"
#include "SeededDatabase.h"
#include "ServerAnswer.h"
#include "ServerProcess.h"
#include "SqlConnection.h"
#include "WriteAudit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace {

struct Settings {
    int clients = 20;
    int seconds = 30;
    int quotes = 10000;
    int sharedPercent = 30;
    QList<int> postgresServers{1}; // one PostgreSQL run per count
};

// The server a client talks to: the clients spread evenly, and the two
// clients of a branch (index and index + 10) on different servers whenever
// there are several, so that the conflicts provoked on purpose cross from
// one server to another.
int serverOf(int clientIndex, int servers)
{
    return (clientIndex + clientIndex / 10) % servers;
}

QStringList reasonCodes(quint16 port)
{
    auto connection = BenchConnection::open(port);
    QString code;
    QString all = QStringLiteral("T");
    RecordList cdsMotivo(QStringLiteral("cdsMotivo"));
    ServerAnswer::LoadPacket(cdsMotivo, CheckedAnswer::dataOf(connection->Call(QStringLiteral("GetMotivo"), {TNetArg::textRef(code), TNetArg::textRef(all)})));
    QStringList codes;
    for (int row = 0; row < cdsMotivo.recordCount(); ++row) {
        codes << cdsMotivo.valueAt(row, 0).toString();
    }
    if (codes.isEmpty()) {
        throw std::runtime_error("the server has no reasons registered");
    }
    return codes;
}

// Compares what the clients were told with what the database holds; the
// empty list when they agree.
QStringList auditFindings(const WriteAudit::Counts &before, const WriteAudit &audit, QStringList accepted)
{
    QStringList findings;
    const WriteAudit::Counts after = audit.counts();
    accepted.sort();
    const qsizetype acceptedCount = accepted.size();
    if (accepted.removeDuplicates() > 0) {
        findings << QStringLiteral("the server accepted the same cancellation more than once");
    }
    if (after.cancelledQuotes - before.cancelledQuotes != acceptedCount) {
        findings << QStringLiteral("%1 quotes became cancelled, %2 cancellations were accepted")
                        .arg(after.cancelledQuotes - before.cancelledQuotes)
                        .arg(acceptedCount);
    }
    if (after.historyRows - before.historyRows != acceptedCount) {
        findings << QStringLiteral("%1 history rows were written, %2 cancellations were accepted")
                        .arg(after.historyRows - before.historyRows)
                        .arg(acceptedCount);
    }
    QStringList history = audit.historyKeys(CancelClient::operatorPrefix());
    history.sort();
    if (history != accepted) {
        findings << QStringLiteral("the history of the benchmark's operators does not list exactly the accepted cancellations");
    }
    QStringList cancelled = audit.cancelledQuoteKeys(CancelClient::operatorPrefix());
    cancelled.sort();
    if (cancelled != accepted) {
        findings << QStringLiteral("the quotes cancelled by the benchmark's operators are not exactly the accepted ones");
    }
    return findings;
}

struct RunResult {
    bool passed = false;
    double callsPerSecond = 0;
};

// Runs the clients against `serverCount` servers on `location`, the servers
// announcing changes and the clients asking for them when `notices` (the
// screen's way), neither otherwise; passed when there was no error and the
// audit agrees.
RunResult runClients(const QString &engine, const QString &location, const QSqlDatabase &auditDb, const Settings &settings, int serverCount,
                     bool notices)
{
    std::vector<std::unique_ptr<ServerProcess>> servers;
    for (int index = 0; index < serverCount; ++index) {
        servers.push_back(std::make_unique<ServerProcess>(location, notices ? QStringList() : QStringList{QStringLiteral("--no-notices")}));
        servers.back()->start();
    }
    const QStringList reasons = reasonCodes(servers.front()->port());
    const WriteAudit audit(auditDb);
    const WriteAudit::Counts before = audit.counts();

    std::vector<std::unique_ptr<CancelClient>> clients;
    for (int index = 0; index < settings.clients; ++index) {
        const quint16 port = servers.at(size_t(serverOf(index, serverCount)))->port();
        clients.push_back(std::make_unique<CancelClient>(port, index, reasons, settings.sharedPercent, notices));
    }
    QElapsedTimer wall;
    wall.start();
    const QDeadlineTimer deadline(qint64(settings.seconds) * 1000);
    std::vector<std::thread> threads;
    for (const auto &client : clients) {
        threads.emplace_back([&client, deadline] { client->run(deadline); });
    }
    for (std::thread &thread : threads) {
        thread.join();
    }
    const double seconds = double(wall.elapsed()) / 1000.0;

    CancelClient::Tally total;
    QStringList errorMessages;
    for (const auto &client : clients) {
        const CancelClient::Tally &tally = client->tally();
        total.listingMs.merge(tally.listingMs);
        total.cancelMs.merge(tally.cancelMs);
        total.releaseMs.merge(tally.releaseMs);
        total.calls += tally.calls;
        total.cycles += tally.cycles;
        total.conflicts += tally.conflicts;
        total.errors += tally.errors;
        total.cancelled << tally.cancelled;
        errorMessages << tally.errorMessages;
    }
    const QStringList findings = auditFindings(before, audit, total.cancelled);
    for (const auto &server : servers) {
        server->stop();
    }

    std::printf("%-10s %7d %7s %7lld %7lld %8.1f %6.0f/%-6.0f %6.0f/%-6.0f %6.0f/%-6.0f %8lld %9lld %6lld  %s\n", qPrintable(engine), serverCount,
                notices ? "on" : "off",
                static_cast<long long>(total.cycles), static_cast<long long>(total.calls), double(total.calls) / seconds,
                total.listingMs.median(), total.listingMs.percentile(95), total.cancelMs.median(), total.cancelMs.percentile(95),
                total.releaseMs.median(), total.releaseMs.percentile(95), static_cast<long long>(total.cancelled.size()),
                static_cast<long long>(total.conflicts), static_cast<long long>(total.errors),
                findings.isEmpty() ? "ok: every accepted cancel stored once" : "MISMATCH");
    for (const QString &finding : findings) {
        std::printf("    audit: %s\n", qPrintable(finding));
    }
    for (const QString &message : errorMessages) {
        std::printf("    error: %s\n", qPrintable(message));
    }
    std::fflush(stdout);
    return RunResult{findings.isEmpty() && total.errors == 0, double(total.calls) / seconds};
}

// The same run without notices and with them, each on a fresh copy of the
// database `freshCopy` makes, in the order off, on, on, off: whatever the
// machine or the database does after a run (PostgreSQL's vacuum of the
// writes just made, say) weighs on both alike. Prints the ratio of their
// mean calls per second.
bool runWithAndWithoutNotices(const QString &engine, const Settings &settings, int serverCount,
                              const std::function<std::pair<QString, QSqlDatabase>(bool)> &freshCopy)
{
    double callsPerSecond[2] = {0, 0};
    bool passed = true;
    for (const bool notices : {false, true, true, false}) {
        const auto [location, audit] = freshCopy(notices);
        const RunResult result = runClients(engine, location, audit, settings, serverCount, notices);
        callsPerSecond[notices] += result.callsPerSecond;
        passed = passed && result.passed;
    }
    std::printf("%-10s %7d notices on / off: %.3fx calls per second\n", qPrintable(engine), serverCount,
                callsPerSecond[1] / callsPerSecond[0]);
    return passed;
}

bool runSqlite(const Settings &settings)
{
    QTemporaryDir dir;
    std::vector<std::unique_ptr<SqlConnection>> audits;
    return runWithAndWithoutNotices(QStringLiteral("SQLite"), settings, 1, [&](bool notices) {
        const QString file = dir.filePath(QStringLiteral("concurrency-%1.db").arg(audits.size()));
        SeededDatabase::copySqlite(SeededDatabase::sqliteFile(settings.quotes), file);
        audits.push_back(std::make_unique<SqlConnection>(file, SqlConnection::Access::ReadWrite));
        return std::make_pair(file, audits.back()->db());
    });
}

void copyDatabase(const PostgresCluster &cluster, const QString &source, const QString &target)
{
    const SqlConnection admin(cluster, QStringLiteral("postgres"));
    QSqlQuery query(admin.db());
    if (!query.exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(target, source))) {
        throw std::runtime_error(QStringLiteral("cannot copy database %1: %2").arg(source, query.lastError().text()).toStdString());
    }
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
    // Seeded once; each run gets a fresh copy, so every run starts from
    // the same quotes.
    const QString seeded = QStringLiteral("seeded");
    cluster.createDatabase(seeded);
    SeededDatabase::seed(cluster.url(seeded), settings.quotes);
    bool passed = true;
    int run = 0;
    std::vector<std::unique_ptr<SqlConnection>> audits;
    for (const int servers : settings.postgresServers) {
        passed = runWithAndWithoutNotices(QStringLiteral("PostgreSQL"), settings, servers, [&](bool) {
                     const QString database = QStringLiteral("bench%1").arg(++run);
                     copyDatabase(cluster, seeded, database);
                     audits.push_back(std::make_unique<SqlConnection>(cluster, database));
                     return std::make_pair(cluster.url(database), audits.back()->db());
                 })
                 && passed;
    }
    return passed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Concurrent listing + cancel cycles against appserver"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("engines"), QStringLiteral("sqlite, postgres or both, comma-separated."), QStringLiteral("list"),
                      QStringLiteral("sqlite,postgres")});
    parser.addOption({QStringLiteral("clients"), QStringLiteral("Concurrent clients."), QStringLiteral("n"), QStringLiteral("20")});
    parser.addOption({QStringLiteral("seconds"), QStringLiteral("Duration of each run."), QStringLiteral("s"), QStringLiteral("30")});
    parser.addOption({QStringLiteral("quotes"), QStringLiteral("Database size in quotes."), QStringLiteral("n"), QStringLiteral("10000")});
    parser.addOption({QStringLiteral("shared"), QStringLiteral("Percent of cycles aiming at the branch's first quote."), QStringLiteral("percent"),
                      QStringLiteral("30")});
    parser.addOption({QStringLiteral("servers"),
                      QStringLiteral("appserver processes sharing the PostgreSQL database, one run per count, comma-separated "
                                     "(SQLite always runs one: its file belongs to one machine)."),
                      QStringLiteral("list"), QStringLiteral("1")});
    parser.process(app);

    Settings settings;
    settings.clients = parser.value(QStringLiteral("clients")).toInt();
    settings.seconds = parser.value(QStringLiteral("seconds")).toInt();
    settings.quotes = parser.value(QStringLiteral("quotes")).toInt();
    settings.sharedPercent = parser.value(QStringLiteral("shared")).toInt();
    settings.postgresServers.clear();
    for (const QString &count : parser.value(QStringLiteral("servers")).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (count.toInt() < 1) {
            std::fprintf(stderr, "bench_concurrency: --servers takes counts of at least 1\n");
            return 1;
        }
        settings.postgresServers << count.toInt();
    }
    const QStringList engines = parser.value(QStringLiteral("engines")).split(QLatin1Char(','), Qt::SkipEmptyParts);

    std::printf("Concurrency: %d clients (two per branch), %d s per run, listing + cancel + hall release cycles, "
                "%d-quote database; latencies p50/p95 in ms\n",
                settings.clients, settings.seconds, settings.quotes);
    std::printf("%-10s %7s %7s %7s %7s %8s %13s %13s %13s %8s %9s %6s  %s\n", "engine", "servers", "notices", "cycles", "calls", "calls/s", "listing", "cancel",
                "release", "cancels", "conflicts", "errors", "no lost/doubled write");
    return runEngines("bench_concurrency", engines, [&settings] { return runSqlite(settings); },
                      [&settings] { return runPostgres(settings); });
}
