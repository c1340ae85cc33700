// How soon a change reaches the screens that listed its branch.
//
// For each setup (SQLite with one server; PostgreSQL with one server and
// with three sharing the database) the real appserver serves a small seeded
// database. Listening clients, spread over the servers, ask for notices and
// list one branch; a writer on the first server cancels that branch's
// quotes one after the other. The latency of a notice runs from the moment
// the writer read its answer to the moment a listener read the notice, so
// it can be negative when the notice overtakes the answer. The baseline is
// the same run on servers started with --no-notices: what a write costs
// without announcing anything.

#include "EngineRuns.h"
#include "PostgresCluster.h"
#include "QuoteListing.h"
#include "Samples.h"
#include "SeededDatabase.h"
#include "ServerProcess.h"
#include "SqlConnection.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

constexpr int seededQuotes = 4000;

using Clock = std::chrono::steady_clock;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// JSON-RPC lines over a blocking socket of the calling thread.
class LineSocket final {
public:
    explicit LineSocket(quint16 port)
    {
        m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
        if (!m_socket.waitForConnected(10000)) {
            throw std::runtime_error("the server cannot be reached");
        }
    }
    QJsonObject call(const QString &method, const QJsonArray &params)
    {
        const QJsonObject request{{"jsonrpc", "2.0"}, {"id", ++m_id}, {"method", method}, {"params", params}};
        m_socket.write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
        QJsonObject line;
        do {
            line = readLine(QDeadlineTimer(60000));
        } while (!line.contains("id"));
        return line;
    }
    // The next line, or an empty object once the deadline passed.
    QJsonObject readLine(const QDeadlineTimer &deadline)
    {
        while (!m_socket.canReadLine()) {
            if (deadline.hasExpired() || !m_socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))) {
                if (deadline.hasExpired() || m_socket.state() != QAbstractSocket::ConnectedState) {
                    return {};
                }
            }
        }
        return QJsonDocument::fromJson(m_socket.readLine()).object();
    }

private:
    QTcpSocket m_socket;
    int m_id = 0;
};

struct Setup {
    QString name;
    QString database;
    int servers = 1;
};

struct Outcome {
    Samples writeMs;
    Samples latencyMs;
    qint64 received = 0;
    qint64 expected = 0;
};

// Puts every quote of the branch back to Pendente, so each run cancels the same quotes.
void reopen(const QSqlDatabase &db, const QString &branch)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("UPDATE ORCAEVENTO SET IDSITUORCEVE = '1', CDJUSTEXCHIS = NULL, CDOPEJUSTORC = NULL, "
                                   "IDSITUANTORC = NULL WHERE CDFILIAL = '%1'").arg(branch))) {
        throw std::runtime_error("cannot reopen the branch's quotes");
    }
}

QString busiestBranch(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT CDFILIAL FROM ORCAEVENTO GROUP BY CDFILIAL ORDER BY COUNT(*) DESC")) || !query.next()) {
        throw std::runtime_error("no quotes in the database");
    }
    return query.value(0).toString();
}

Outcome run(const Setup &setup, bool notices, const QString &branch, int listeners, int writes)
{
    std::vector<std::unique_ptr<ServerProcess>> servers;
    for (int i = 0; i < setup.servers; ++i) {
        servers.push_back(std::make_unique<ServerProcess>(setup.database, notices ? QStringList{} : QStringList{"--no-notices"}));
        servers.back()->start();
    }
    Outcome outcome;
    std::mutex mutex;
    // When the writer read each answer, by the quote's number, which the
    // listeners read in the notice.
    std::vector<Clock::time_point> answered;
    std::atomic<int> ready{0};
    std::atomic<bool> written{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < listeners; ++i) {
        threads.emplace_back([&, port = servers.at(i % setup.servers)->port()] {
            LineSocket socket(port);
            socket.call("connect", {"CXL04100.rdmCancelamento", QJsonObject{{"notices", true}}});
            socket.call("GetOrcamento", QuoteListing().arguments(branch));
            ++ready;
            std::vector<std::pair<int, Clock::time_point>> heard;
            const QDeadlineTimer deadline(60000);
            while (notices && int(heard.size()) < writes) {
                const QJsonObject line = socket.readLine(deadline);
                if (line.isEmpty()) {
                    break;
                }
                heard.emplace_back(line.value("params").toObject().value("number").toString().toInt(), Clock::now());
            }
            while (!written) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            const std::lock_guard lock(mutex);
            for (const auto &[number, at] : heard) {
                outcome.latencyMs.add(msBetween(answered.at(number), at));
            }
            outcome.received += qint64(heard.size());
        });
    }
    while (ready < listeners) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    LineSocket writer(servers.front()->port());
    writer.call("connect", {"CXL04100.rdmCancelamento"});
    const QJsonObject data = writer.call("GetOrcamento", QuoteListing().arguments(branch)).value("result").toObject().value("value").toObject().value("data").toObject();
    const QJsonArray fields = data.value("fields").toArray();
    const QJsonArray rows = data.value("rows").toArray();
    QHash<QString, int> column;
    for (int i = 0; i < fields.size(); ++i) {
        column.insert(fields.at(i).toObject().value("name").toString(), i);
    }
    for (int i = 0; i < writes && i < rows.size(); ++i) {
        const QJsonArray old = rows.at(i).toArray();
        QJsonArray changed = old;
        changed[column.value("IDSITUORCEVE")] = "8";
        changed[column.value("CDJUSTEXCHIS")] = "0002";
        changed[column.value("CDOPEJUSTORC")] = "BENCH";
        const QJsonObject delta{{"fields", fields}, {"changes", QJsonArray{QJsonObject{{"op", "update"}, {"old", old}, {"new", changed}}}}};
        const auto sent = Clock::now();
        const QJsonObject answer = writer.call("SetOrcamento", {delta});
        const auto at = Clock::now();
        if (!answer.value("result").toObject().value("value").toObject().value("ok").toBool()) {
            throw std::runtime_error("a cancellation was refused");
        }
        outcome.writeMs.add(msBetween(sent, at));
        const auto number = size_t(old.at(column.value("NRORCAEVENTO")).toString().toInt());
        answered.resize(std::max(answered.size(), number + 1));
        answered[number] = at;
    }
    written = true;
    for (std::thread &thread : threads) {
        thread.join();
    }
    outcome.expected = notices ? qint64(writes) * listeners : 0;
    return outcome;
}

void report(const Setup &setup, const Outcome &baseline, const Outcome &measured)
{
    std::printf("%-24s %9.2f %9.2f %6.2fx %9.2f %9.2f %7lld/%lld\n", qPrintable(setup.name), baseline.writeMs.median(), measured.writeMs.median(),
                measured.writeMs.median() / std::max(0.001, baseline.writeMs.median()), measured.latencyMs.median(),
                measured.latencyMs.percentile(99), static_cast<long long>(measured.received), static_cast<long long>(measured.expected));
    std::fflush(stdout);
}

bool runSetups(const QList<Setup> &setups, const QSqlDatabase &db, int listeners, int writes)
{
    const QString branch = busiestBranch(db);
    bool complete = true;
    for (const Setup &setup : setups) {
        reopen(db, branch);
        const Outcome baseline = run(setup, false, branch, listeners, writes);
        reopen(db, branch);
        const Outcome measured = run(setup, true, branch, listeners, writes);
        report(setup, baseline, measured);
        complete = complete && measured.received == measured.expected;
    }
    return complete;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption listenersOption("listeners", "Listening clients (default 20).", "N", "20");
    const QCommandLineOption writesOption("writes", "Cancellations per run (default 300).", "N", "300");
    const QCommandLineOption enginesOption("engines", "sqlite,postgres (default both).", "LIST", "sqlite,postgres");
    parser.addOptions({listenersOption, writesOption, enginesOption});
    parser.process(app);
    const int listeners = parser.value(listenersOption).toInt();
    const int writes = parser.value(writesOption).toInt();

    std::printf("Change notices: %d listeners of one branch, %d cancellations one after the other by a writer on server 1\n", listeners, writes);
    std::printf("(write: ms per SetOrcamento, median; latency: ms from the writer's answer to a listener's notice)\n");
    std::printf("%-24s %9s %9s %7s %9s %9s %12s\n", "setup", "write off", "write on", "ratio", "lat p50", "lat p99", "notices");
    const QTemporaryDir folder;
    const auto sqlite = [&] {
        const QString file = folder.path() + QStringLiteral("/notices.db");
        SeededDatabase::seed(file, seededQuotes);
        const SqlConnection connection(file, SqlConnection::Access::ReadWrite);
        return runSetups({{QStringLiteral("SQLite, 1 server"), file, 1}}, connection.db(), listeners, writes);
    };
    const auto postgres = [&] {
        QString reason;
        if (!PostgresCluster::available(&reason)) {
            std::printf("PostgreSQL skipped: %s\n", qPrintable(reason));
            return true;
        }
        PostgresCluster cluster;
        cluster.start();
        cluster.createDatabase(QStringLiteral("notices"));
        const QString url = cluster.url(QStringLiteral("notices"));
        SeededDatabase::seed(url, seededQuotes);
        const SqlConnection connection(cluster, QStringLiteral("notices"));
        return runSetups({{QStringLiteral("PostgreSQL, 1 server"), url, 1}, {QStringLiteral("PostgreSQL, 3 servers"), url, 3}},
                         connection.db(), listeners, writes);
    };
    return runEngines("bench_notices", parser.value(enginesOption).split(',', Qt::SkipEmptyParts), sqlite, postgres);
}
