#include "ServerProcess.h"

#include "BenchPaths.h"

#include <QFile>
#include <QRegularExpression>

#include <stdexcept>

ServerProcess::ServerProcess(const QString &database)
    : m_database(database)
{
}

ServerProcess::~ServerProcess()
{
    stop();
}

QString ServerProcess::logFile() const
{
    return m_logDir.filePath(QStringLiteral("appserver.log"));
}

void ServerProcess::start()
{
    m_process.setStandardErrorFile(logFile());
    m_process.start(BenchPaths::appserver(), {QStringLiteral("--db"), m_database, QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    QByteArray announced;
    while (!announced.contains('\n') && m_process.waitForReadyRead(60000)) {
        announced += m_process.readAllStandardOutput();
    }
    const QByteArray prefix = "listening on 127.0.0.1:";
    if (!announced.startsWith(prefix)) {
        const QString log = logTail();
        stop();
        throw std::runtime_error(QStringLiteral("appserver did not start on %1: %2").arg(m_database, log).toStdString());
    }
    m_port = quint16(announced.mid(prefix.size()).trimmed().toUInt());
}

void ServerProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
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
