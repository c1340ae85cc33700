// Twenty operators cancelling quotes at once.
//
// For each engine (SQLite, then PostgreSQL in a throwaway cluster) the real
// appserver serves a fresh copy of a seeded database while N client threads,
// each with its own connection, run listing + cancel cycles for a fixed
// time. On PostgreSQL this is repeated with several appserver processes
// sharing the database (--servers), the clients spread over them. Prints
// calls per second, latencies, the conflicts provoked on purpose and any
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
#include <memory>
#include <stdexcept>
#include <thread>
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

// Runs the clients against `serverCount` servers on `location`; true when
// there was no error and the audit agrees.
bool runClients(const QString &engine, const QString &location, const QSqlDatabase &auditDb, const Settings &settings, int serverCount)
{
    std::vector<std::unique_ptr<ServerProcess>> servers;
    for (int index = 0; index < serverCount; ++index) {
        servers.push_back(std::make_unique<ServerProcess>(location));
        servers.back()->start();
    }
    const QStringList reasons = reasonCodes(servers.front()->port());
    const WriteAudit audit(auditDb);
    const WriteAudit::Counts before = audit.counts();

    std::vector<std::unique_ptr<CancelClient>> clients;
    for (int index = 0; index < settings.clients; ++index) {
        const quint16 port = servers.at(size_t(serverOf(index, serverCount)))->port();
        clients.push_back(std::make_unique<CancelClient>(port, index, reasons, settings.sharedPercent));
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

    std::printf("%-10s %7d %7lld %7lld %8.1f %6.0f/%-6.0f %6.0f/%-6.0f %6.0f/%-6.0f %8lld %9lld %6lld  %s\n", qPrintable(engine), serverCount,
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
    return findings.isEmpty() && total.errors == 0;
}

bool runSqlite(const Settings &settings)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("concurrency.db"));
    SeededDatabase::copySqlite(SeededDatabase::sqliteFile(settings.quotes), file);
    const SqlConnection audit(file, SqlConnection::Access::ReadWrite);
    return runClients(QStringLiteral("SQLite"), file, audit.db(), settings, 1);
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
    for (const int servers : settings.postgresServers) {
        const QString database = QStringLiteral("bench%1").arg(++run);
        copyDatabase(cluster, seeded, database);
        const SqlConnection audit(cluster, database);
        passed = runClients(QStringLiteral("PostgreSQL"), cluster.url(database), audit.db(), settings, servers) && passed;
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
    std::printf("%-10s %7s %7s %7s %8s %13s %13s %13s %8s %9s %6s  %s\n", "engine", "servers", "cycles", "calls", "calls/s", "listing", "cancel",
                "release", "cancels", "conflicts", "errors", "no lost/doubled write");
    return runEngines("bench_concurrency", engines, [&settings] { return runSqlite(settings); },
                      [&settings] { return runPostgres(settings); });
}
