#include "SqliteShellQuery.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <stdexcept>

namespace {

const QString program = QStringLiteral("sqlite3");

} // namespace

bool SqliteShellQuery::available(QString *reason)
{
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        *reason = QStringLiteral("sqlite3 is not installed (Debian package sqlite3)");
        return false;
    }
    return true;
}

SqliteShellQuery::SqliteShellQuery(const QString &file, const QString &statement)
    : m_file(file),
      // The timer prints on standard output whatever .output says, so the
      // rows go to /dev/null and only the time comes back.
      m_script(".output /dev/null\n.timer on\n" + statement.toUtf8() + ";\n")
{
}

double SqliteShellQuery::run() const
{
    QProcess process;
    process.start(program, {QStringLiteral("-batch"), QStringLiteral("-bail"), m_file});
    process.write(m_script);
    process.closeWriteChannel();
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        throw std::runtime_error(QStringLiteral("sqlite3 failed on %1: %2").arg(m_file, QString::fromUtf8(process.readAllStandardError())).toStdString());
    }
    const QString printed = QString::fromUtf8(process.readAllStandardOutput());
    const QRegularExpressionMatch time = QRegularExpression(QStringLiteral("Run Time: real ([0-9.]+)")).match(printed);
    if (!time.hasMatch()) {
        throw std::runtime_error(QStringLiteral("sqlite3 printed no time: %1").arg(printed.left(200)).toStdString());
    }
    return time.captured(1).toDouble() * 1000.0;
}
