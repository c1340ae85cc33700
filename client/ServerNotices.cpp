#include "ServerNotices.h"

#include <QJsonDocument>

namespace ServerNotices {

bool isNotice(const QJsonObject &line)
{
    return line.value(QStringLiteral("method")).isString() && !line.contains(QStringLiteral("id"));
}

void keep(const QJsonObject &notice, QList<QJsonObject> &notices)
{
    const QJsonValue params = notice.value(QStringLiteral("params"));
    if (notice.value(QStringLiteral("method")) == QJsonValue(QStringLiteral("quoteChanged")) && params.isObject()) {
        notices.append(params.toObject());
    }
}

void takeWholeLines(QByteArray &received, QList<QJsonObject> &notices)
{
    QByteArray kept;
    qsizetype start = 0;
    for (qsizetype end; (end = received.indexOf('\n', start)) >= 0; start = end + 1) {
        const QByteArrayView line(received.constData() + start, end + 1 - start);
        const QJsonObject object = QJsonDocument::fromJson(line.toByteArray()).object();
        if (isNotice(object)) {
            keep(object, notices);
        } else {
            kept.append(line);
        }
    }
    kept.append(QByteArrayView(received).sliced(start));
    received = kept;
}

} // namespace ServerNotices
