#pragma once

#include <QProcess>
#include <QStringList>

// The real `appserver` executable, started for one test and stopped with
// SIGTERM at the end (or when the object goes away).
class AppServerProcess final {
public:
    // Passed as a seeding time limit: wait for as long as seeding takes.
    static constexpr int NoTimeLimit = -1;

    ~AppServerProcess();

    // Sends the server's call log to `path` instead of a pipe; for callers
    // whose clients keep the server too busy for the pipe to be drained in
    // time. Takes effect at the next start().
    void setLogFile(const QString &path);
    // Runs another build of the server, for benchmarks against an earlier
    // version; this build's unless set. Takes effect at the next start().
    void setExecutable(const QString &path) { m_executable = path; }
    // How long start() waits for the port announcement; ten seconds unless set.
    void setStartTimeout(int milliseconds);
    // Runs the server with at most `descriptors` open files, soft and hard
    // limit alike. Takes effect at the next start().
    void setOpenFileLimit(int descriptors);
    // Gives the server a standard error that nobody reads: once the pipe is
    // full, every write to it blocks. Takes effect at the next start().
    void blockStandardError();

    // Serves `database` on a free loopback port; false (with the reason in
    // error()) when it did not announce its port in time or exited first.
    bool start(const QString &database, const QStringList &extraArguments = {});
    // Runs a seeding command to completion within two minutes; false when it
    // fails or takes longer, with what it printed in `output`.
    static bool seed(const QString &database, int quotes, const QStringList &extraArguments = {}, QString *output = nullptr);
    // The same within `timeoutMs` (or NoTimeLimit), for large databases.
    static bool seed(const QString &database, int quotes, const QStringList &extraArguments, QString *output, int timeoutMs);

    quint16 port() const { return m_port; }
    qint64 processId() const { return m_process.processId(); }
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    QString error() const { return m_error; }
    // Sends SIGTERM and waits; the exit code, or -1 when it had to be killed.
    int stop();
    // Everything the server wrote on standard error so far, one line per
    // call; empty when the log file set by setLogFile() cannot be read.
    QString log();

private:
    void closeStandardErrorPipe();

    QProcess m_process;
    int m_openFileLimit = 0;
    int m_unreadPipe[2] = {-1, -1};
    QString m_executable = QStringLiteral(APPSERVER_EXECUTABLE);
    QString m_logFile;
    int m_startTimeout = 10000;
    quint16 m_port = 0;
    QString m_error;
    QString m_log;
};
