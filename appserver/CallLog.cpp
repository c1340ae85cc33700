#include "CallLog.h"

#include <QDateTime>
#include <QMutex>

#include <cstdio>

namespace CallLog {

void write(const QString &peer, const QString &method, qint64 milliseconds, const QString &outcome)
{
    static QMutex mutex;
    QString shortOutcome = outcome;
    shortOutcome.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray line = QStringLiteral("%1 %2 %3 %4 ms %5\n")
                                .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs), peer,
                                     method.isEmpty() ? QStringLiteral("-") : method.left(60))
                                .arg(milliseconds)
                                .arg(shortOutcome.left(300))
                                .toUtf8();
    const QMutexLocker lock(&mutex);
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace CallLog
