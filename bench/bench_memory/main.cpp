// The client's memory for a large listing.
//
// The parent process serves the cached 1,000,000-quote database and reads
// one answer line of GetOrcamento for a branch with every state (100,000
// rows) over a plain socket, to know its size in bytes. Then a fresh child
// process of this executable connects, loads the same listing into a
// record list through TNetConnection, and reports its resident memory
// (/proc/self/status) before, at the peak, and while holding the list.

#include "BenchConnection.h"
#include "CheckedAnswer.h"
#include "EveryState.h"
#include "ProcStatus.h"
#include "QuoteListing.h"
#include "RawCall.h"
#include "RecordList.h"
#include "SeededDatabase.h"
#include "ServerAnswer.h"
#include "ServerProcess.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <malloc.h>

#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

// The child: everything measured here happens in a process that did
// nothing else before.
int measureInThisProcess(quint16 port, const QString &branch)
{
    auto connection = BenchConnection::open(port);
    connection->Call(QStringLiteral("GetParamOrca"));
    malloc_trim(0);
    const qint64 rssBefore = ProcStatus::kilobytes("VmRSS");
    const qint64 hwmBefore = ProcStatus::kilobytes("VmHWM");
    auto cdsOrcamento = std::make_unique<RecordList>(QStringLiteral("cdsOrcamento"));
    QElapsedTimer timer;
    timer.start();
    {
        QuoteListing filter = everyState();
        std::optional<PacketColumns> packet;
        const QJsonValue answer = connection->CallPacket(QStringLiteral("GetOrcamento"), TNetArg::listing(branch, filter), packet);
        CheckedAnswer::dataOf(answer);
        ServerAnswer::LoadPacket(*cdsOrcamento, std::move(packet));
    }
    const qint64 loadMs = timer.elapsed();
    const qint64 hwmAfter = ProcStatus::kilobytes("VmHWM");
    malloc_trim(0);
    const qint64 rssHolding = ProcStatus::kilobytes("VmRSS");
    std::printf("rows=%d\nrss_before_kb=%lld\nhwm_before_kb=%lld\nhwm_after_kb=%lld\nrss_holding_kb=%lld\nload_ms=%lld\n",
                cdsOrcamento->recordCount(), static_cast<long long>(rssBefore), static_cast<long long>(hwmBefore),
                static_cast<long long>(hwmAfter), static_cast<long long>(rssHolding), static_cast<long long>(loadMs));
    return 0;
}

QHash<QString, qint64> runChild(const QString &program, quint16 port, const QString &branch)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, {QStringLiteral("--child"), QString::number(port), QStringLiteral("--branch"), branch});
    if (!child.waitForFinished(600000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        throw std::runtime_error("the measuring process failed");
    }
    QHash<QString, qint64> values;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) {
            values.insert(QString::fromLatin1(line.left(equals)), line.mid(equals + 1).toLongLong());
        }
    }
    return values;
}

double mebibytes(qint64 bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

int measure(const QString &program, int quotes, const QString &branch)
{
    ServerProcess server(SeededDatabase::sqliteFile(quotes));
    server.start();
    // The answer line exactly as it travels, newline excluded.
    const qsizetype lineBytes = RawCall::answerLine(server.port(), QStringLiteral("GetOrcamento"), everyState().arguments(branch)).size();
    const QHash<QString, qint64> child = runChild(program, server.port(), branch);
    server.stop();

    const qint64 before = child.value(QStringLiteral("rss_before_kb")) * 1024;
    const qint64 peak = child.value(QStringLiteral("hwm_after_kb")) * 1024;
    const qint64 holding = child.value(QStringLiteral("rss_holding_kb")) * 1024;
    std::printf("Client memory: GetOrcamento, branch %s, every state, %d-quote database, loaded into a RecordList in a fresh process\n",
                qPrintable(branch), quotes);
    std::printf("  rows                         %lld\n", child.value(QStringLiteral("rows")));
    std::printf("  answer line (JSON)           %.1f MiB (%lld bytes)\n", mebibytes(lineBytes), static_cast<long long>(lineBytes));
    std::printf("  RSS before the call          %.1f MiB\n", mebibytes(before));
    std::printf("  peak RSS (VmHWM) growth      %.1f MiB = %.2f x the line%s\n", mebibytes(peak - before), double(peak - before) / double(lineBytes),
                child.value(QStringLiteral("hwm_after_kb")) > child.value(QStringLiteral("hwm_before_kb")) ? "" : " (peak not above start-up peak)");
    std::printf("  RSS growth holding the list  %.1f MiB = %.2f x the line\n", mebibytes(holding - before), double(holding - before) / double(lineBytes));
    std::printf("  call + load time             %lld ms\n", child.value(QStringLiteral("load_ms")));
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Client peak memory holding a large quote list"));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("quotes"), QStringLiteral("Database size in quotes (a tenth per branch)."), QStringLiteral("n"),
                      QStringLiteral("1000000")});
    parser.addOption({QStringLiteral("branch"), QStringLiteral("Branch listed."), QStringLiteral("code"), QStringLiteral("0001")});
    parser.addOption({QStringLiteral("child"), QStringLiteral("Internal: measure against the server on this port."), QStringLiteral("port")});
    parser.process(app);

    const QString branch = parser.value(QStringLiteral("branch"));
    try {
        if (parser.isSet(QStringLiteral("child"))) {
            return measureInThisProcess(quint16(parser.value(QStringLiteral("child")).toUInt()), branch);
        }
        return measure(app.applicationFilePath(), parser.value(QStringLiteral("quotes")).toInt(), branch);
    } catch (const std::exception &error) {
        std::fprintf(stderr, "bench_memory: %s\n", error.what());
        return 1;
    }
}
