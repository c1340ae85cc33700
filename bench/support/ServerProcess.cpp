#include "ServerProcess.h"

#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

ServerProcess::ServerProcess(const QString &database, const QStringList &extraArguments, const QString &executable)
    : m_database(database), m_extraArguments(extraArguments)
{
    if (!executable.isEmpty()) {
        m_process.setExecutable(executable);
    }
}

QString ServerProcess::logFile() const
{
    return m_logDir.filePath(QStringLiteral("appserver.log"));
}

void ServerProcess::start()
{
    m_process.setLogFile(logFile());
    // A large database on a busy machine can take a while to open.
    m_process.setStartTimeout(60000);
    if (!m_process.start(m_database, m_extraArguments)) {
        const QString log = logTail();
        stop();
        throw std::runtime_error(QStringLiteral("appserver did not start on %1: %2").arg(m_database, log).toStdString());
    }
}

void ServerProcess::stop()
{
    m_process.stop();
}

QList<qint64> ServerProcess::loggedDurations(const QString &method) const
{
    QFile file(logFile());
    QList<qint64> durations;
    if (!file.open(QIODevice::ReadOnly)) {
        return durations;
    }
    // "<time> <peer> <method> <ms> ms <outcome>"
    const QRegularExpression line(QStringLiteral("^\\S+ \\S+ %1 (\\d+) ms ").arg(QRegularExpression::escape(method)));
    while (!file.atEnd()) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(file.readLine()));
        if (match.hasMatch()) {
            durations << match.captured(1).toLongLong();
        }
    }
    return durations;
}

QString ServerProcess::logTail(int lines) const
{
    QFile file(logFile());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QStringList all = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return all.mid(qMax(0, int(all.size()) - lines)).join(QLatin1Char('\n'));
}
