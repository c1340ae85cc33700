// The engine of the fuzz targets where libFuzzer is not built in: a
// deterministic mutation loop (Mutator) over the seeds, with libFuzzer's
// command line so that one command runs either engine:
//
//   fuzz_TARGET [-seed=N] [-max_total_time=S] [-runs=N] [-timeout=S]
//               [-max_len=BYTES] [-artifact_prefix=PATH] DIR...
//   fuzz_TARGET FILE...        runs each input once (a crash kept earlier)
//
// Every seed runs as it is first, then mutated inputs until the time or the
// number of runs is reached. An input that crashes (a broken rule aborts)
// is written to <artifact_prefix>crash-<run>; one that runs longer than the
// timeout to <artifact_prefix>timeout-<run>, and the run stops with status 1.

#include "FuzzTarget.h"
#include "Mutator.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <thread>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define FUZZ_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FUZZ_SANITIZED 1
#endif
#endif
#ifdef FUZZ_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

struct Options {
    quint64 seed = 1;
    qint64 maxTotalSeconds = 0; // 0: no limit
    qint64 runs = -1;           // -1: no limit
    qint64 timeoutSeconds = 1200;
    qsizetype maxLength = 1024 * 1024;
    QByteArray artifactPrefix;
    QStringList corpusDirs;
    QStringList inputFiles;
};

// What the crash and timeout reports need, set before each input and read
// from a signal handler or the watchdog: plain data only.
struct Current {
    const char *data = nullptr;
    size_t size = 0;
    std::atomic<qint64> run{-1};
    std::atomic<qint64> startedMs{0}; // 0 while no input runs
    bool keep = true;                 // false when the inputs come from files already
    char artifactPrefix[4096] = {};
};
Current current;

using Clock = std::chrono::steady_clock;

qint64 nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
}

// Straight to file descriptor 2: a target may send the `stderr` stream
// elsewhere (the request line's does), and a signal handler may call it.
void say(const char *text)
{
    if (::write(2, text, std::strlen(text)) < 0) {
        return;
    }
}

void say(const QString &text)
{
    say(text.toLocal8Bit().constData());
}

// Writes the running input to <prefix><kind><run>; only what a signal
// handler may call.
void keepInput(const char *kind)
{
    if (!current.keep) {
        return;
    }
    char path[sizeof current.artifactPrefix + 64];
    size_t length = 0;
    for (const char *part : {static_cast<const char *>(current.artifactPrefix), kind}) {
        for (; *part != '\0' && length < sizeof path - 32; ++part) {
            path[length++] = *part;
        }
    }
    char digits[24];
    int count = 0;
    qint64 run = qMax<qint64>(current.run.load(), 0);
    do {
        digits[count++] = char('0' + run % 10);
        run /= 10;
    } while (run > 0);
    while (count > 0) {
        path[length++] = digits[--count];
    }
    path[length] = '\0';
    const int file = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (file < 0) {
        say("fuzz: the input could not be kept\n");
        return;
    }
    size_t done = 0;
    while (done < current.size) {
        const ssize_t written = ::write(file, current.data + done, current.size - done);
        if (written <= 0) {
            break;
        }
        done += size_t(written);
    }
    ::close(file);
    say("fuzz: the input is kept in ");
    say(path);
    say("\n");
}

void onCrash(int signal)
{
    if (current.startedMs.load() != 0) {
        keepInput("crash-");
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

#ifdef FUZZ_SANITIZED
void onSanitizerDeath()
{
    if (current.startedMs.load() != 0) {
        keepInput("crash-");
    }
}
#endif

void watch(qint64 timeoutMs)
{
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const qint64 started = current.startedMs.load();
        if (started != 0 && nowMs() - started > timeoutMs) {
            say("\nFUZZ FAILURE: an input ran longer than the timeout\n");
            keepInput("timeout-");
            std::_Exit(1);
        }
    }
}

void runOne(const QByteArray &input, qint64 run)
{
    current.data = input.constData();
    current.size = size_t(input.size());
    current.run = run;
    current.startedMs = nowMs();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size()));
    current.startedMs = 0;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        say(QStringLiteral("fuzz: cannot read %1\n").arg(path));
        std::exit(2);
    }
    return file.readAll();
}

Options parse(int argc, char *argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        const auto value = [&](const char *flag) -> std::optional<QByteArray> {
            const QByteArray prefix = QByteArray("-") + flag + '=';
            if (!argument.startsWith(prefix)) {
                return std::nullopt;
            }
            return argument.mid(prefix.size());
        };
        if (const auto v = value("seed")) {
            options.seed = v->toULongLong();
        } else if (const auto v = value("max_total_time")) {
            options.maxTotalSeconds = v->toLongLong();
        } else if (const auto v = value("runs")) {
            options.runs = v->toLongLong();
        } else if (const auto v = value("timeout")) {
            options.timeoutSeconds = v->toLongLong();
        } else if (const auto v = value("max_len")) {
            options.maxLength = v->toLongLong();
        } else if (const auto v = value("artifact_prefix")) {
            options.artifactPrefix = *v;
        } else if (argument.startsWith('-')) {
            say(QStringLiteral("fuzz: unknown option %1 (this engine takes -seed, -max_total_time, -runs, -timeout, "
                               "-max_len, -artifact_prefix)\n").arg(QString::fromLocal8Bit(argument)));
            std::exit(2);
        } else if (QFileInfo(QString::fromLocal8Bit(argument)).isDir()) {
            options.corpusDirs << QString::fromLocal8Bit(argument);
        } else {
            options.inputFiles << QString::fromLocal8Bit(argument);
        }
    }
    return options;
}

QList<QByteArray> readSeeds(const QStringList &dirs)
{
    QList<QByteArray> seeds;
    for (const QString &dir : dirs) {
        const QDir folder(dir);
        for (const QString &name : folder.entryList(QDir::Files, QDir::Name)) {
            seeds << readFile(folder.filePath(name));
        }
    }
    return seeds;
}

} // namespace

int main(int argc, char *argv[])
{
    const Options options = parse(argc, argv);
    std::strncpy(current.artifactPrefix, options.artifactPrefix.constData(), sizeof current.artifactPrefix - 1);
    // A stack of its own for the handler, since a stack overflow is one of
    // the crashes it reports.
    static char handlerStack[64 * 1024];
    stack_t alternate = {};
    alternate.ss_sp = handlerStack;
    alternate.ss_size = sizeof handlerStack;
    sigaltstack(&alternate, nullptr);
    struct sigaction action = {};
    action.sa_handler = onCrash;
    action.sa_flags = SA_ONSTACK;
#ifdef FUZZ_SANITIZED
    // Faults are the sanitizer's to report; it calls onSanitizerDeath.
    __sanitizer_set_death_callback(onSanitizerDeath);
    for (int signal : {SIGABRT}) {
#else
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
#endif
        sigaction(signal, &action, nullptr);
    }
    std::thread(watch, options.timeoutSeconds * 1000).detach();

    if (!options.inputFiles.isEmpty()) {
        current.keep = false;
        qint64 run = 0;
        for (const QString &path : options.inputFiles) {
            say(QStringLiteral("fuzz: running %1\n").arg(path));
            runOne(readFile(path), run++);
        }
        say(QStringLiteral("fuzz: %1 input(s) ran without breaking a rule\n").arg(run));
        return 0;
    }

    const QList<QByteArray> seeds = readSeeds(options.corpusDirs);
    const qint64 start = nowMs();
    const qint64 deadline = options.maxTotalSeconds > 0 ? start + options.maxTotalSeconds * 1000 : 0;
    qint64 run = 0;
    for (const QByteArray &seed : seeds) {
        runOne(seed, run++);
    }
    Mutator mutator(options.seed, seeds, options.maxLength);
    qint64 nextReport = start + 10000;
    while ((options.runs < 0 || run < options.runs) && (deadline == 0 || nowMs() < deadline)) {
        runOne(mutator.next(), run++);
        if (nowMs() >= nextReport) {
            nextReport += 10000;
            say(QStringLiteral("fuzz: %1 inputs in %2 s\n").arg(run).arg((nowMs() - start) / 1000));
        }
    }
    const double seconds = double(nowMs() - start) / 1000.0;
    say(QStringLiteral("fuzz: %1 inputs (%2 seeds, seed value %3) in %4 s, %5 a second, without breaking a rule\n")
            .arg(run)
            .arg(seeds.size())
            .arg(options.seed)
            .arg(seconds, 0, 'f', 1)
            .arg(seconds > 0 ? double(run) / seconds : 0.0, 0, 'f', 0));
    return 0;
}
