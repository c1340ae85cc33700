#include "PsqlQuery.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <stdexcept>

namespace {

const QString program = QStringLiteral("/usr/lib/postgresql/15/bin/psql");

} // namespace

bool PsqlQuery::available(QString *reason)
{
    if (!QFileInfo(program).isExecutable()) {
        *reason = QStringLiteral("%1 is not installed (Debian package postgresql-client-15)").arg(program);
        return false;
    }
    return true;
}

PsqlQuery::PsqlQuery(quint16 port, const QString &database, const QString &statement)
    : m_arguments{QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                  QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port),
                  QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-d"), database},
      // \o sends the rows to /dev/null; \timing still prints on standard output.
      m_script("\\o /dev/null\n\\timing on\n" + statement.toUtf8() + ";\n")
{
}

double PsqlQuery::run() const
{
    QProcess process;
    process.start(program, m_arguments);
    process.write(m_script);
    process.closeWriteChannel();
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        throw std::runtime_error(QStringLiteral("psql failed: %1").arg(QString::fromUtf8(process.readAllStandardError())).toStdString());
    }
    const QString printed = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch time = QRegularExpression(QStringLiteral("Time: ([0-9.]+) ms")).match(printed);
    if (!time.hasMatch()) {
        throw std::runtime_error(QStringLiteral("psql printed no time: %1").arg(printed.left(200)).toStdString());
    }
    return time.captured(1).toDouble();
}
