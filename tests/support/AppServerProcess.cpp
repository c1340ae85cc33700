#include "AppServerProcess.h"

#include <QDeadlineTimer>
#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

AppServerProcess::~AppServerProcess()
{
    stop();
    closeStandardErrorPipe();
}

void AppServerProcess::setOpenFileLimit(int descriptors)
{
    m_openFileLimit = descriptors;
}

void AppServerProcess::blockStandardError()
{
    closeStandardErrorPipe();
    if (::pipe(m_unreadPipe) != 0) {
        m_unreadPipe[0] = m_unreadPipe[1] = -1;
    }
}

void AppServerProcess::closeStandardErrorPipe()
{
    for (int &end : m_unreadPipe) {
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
    }
}

void AppServerProcess::setLogFile(const QString &path)
{
    m_logFile = path;
}

void AppServerProcess::setStartTimeout(int milliseconds)
{
    m_startTimeout = milliseconds;
}

bool AppServerProcess::start(const QString &database, const QStringList &extraArguments)
{
    if (!m_logFile.isEmpty()) {
        m_process.setStandardErrorFile(m_logFile);
    }
    const int limit = m_openFileLimit;
    const int unreadEnd = m_unreadPipe[1];
    m_process.setChildProcessModifier([limit, unreadEnd] {
        if (limit > 0) {
            const rlimit files{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(RLIMIT_NOFILE, &files);
        }
        if (unreadEnd >= 0) {
            ::dup2(unreadEnd, STDERR_FILENO);
        }
    });
    m_process.start(m_executable, QStringList{QStringLiteral("--db"), database, QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")} + extraArguments);
    const QDeadlineTimer deadline(m_startTimeout);
    QByteArray out;
    while (!out.contains('\n') && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            break;
        }
        out += m_process.readAllStandardOutput();
    }
    const QByteArray prefix = "listening on 127.0.0.1:";
    if (!out.startsWith(prefix)) {
        m_error = QStringLiteral("no port announced; stdout \"%1\", stderr \"%2\"").arg(QString::fromUtf8(out), log());
        return false;
    }
    m_port = quint16(out.mid(prefix.size()).trimmed().toUInt());
    return m_port != 0;
}

bool AppServerProcess::seed(const QString &database, int quotes, const QStringList &extraArguments, QString *output)
{
    return seed(database, quotes, extraArguments, output, 120000);
}

bool AppServerProcess::seed(const QString &database, int quotes, const QStringList &extraArguments, QString *output, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(APPSERVER_EXECUTABLE),
                  QStringList{QStringLiteral("--db"), database, QStringLiteral("--seed"), QString::number(quotes)} + extraArguments);
    const bool finished = process.waitForFinished(timeoutMs);
    if (output) {
        *output = QString::fromUtf8(process.readAll());
    }
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

int AppServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning) {
        return m_process.exitCode();
    }
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QString AppServerProcess::log()
{
    if (m_logFile.isEmpty()) {
        m_log += QString::fromUtf8(m_process.readAllStandardError());
        return m_log;
    }
    QFile file(m_logFile);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
