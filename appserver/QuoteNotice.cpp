#include "QuoteNotice.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject params(const QuoteNotice &notice)
{
    return QJsonObject{{QStringLiteral("branch"), notice.key.branch},
                       {QStringLiteral("number"), notice.key.number},
                       {QStringLiteral("sequence"), notice.key.sequence},
                       {QStringLiteral("what"), notice.what},
                       {QStringLiteral("state"), notice.state},
                       {QStringLiteral("reason"), notice.reason.isEmpty() ? QJsonValue() : QJsonValue(notice.reason)},
                       {QStringLiteral("operator"), notice.operatorCode}};
}

} // namespace

QByteArray QuoteNotice::toPayload() const
{
    QJsonObject payload = params(*this);
    payload.insert(QStringLiteral("origin"), origin);
    return QJsonDocument(payload).toJson(QJsonDocument::Compact);
}

std::optional<QuoteNotice> QuoteNotice::fromPayload(const QByteArray &payload)
{
    const QJsonObject object = QJsonDocument::fromJson(payload).object();
    const auto text = [&object](const char *name) { return object.value(QLatin1String(name)).toString(); };
    QuoteNotice notice{{text("branch"), text("number"), text("sequence")}, text("what"), text("state"),
                       text("reason"), text("operator"), text("origin")};
    if (notice.key.branch.isEmpty() || notice.what.isEmpty() || notice.origin.isEmpty()) {
        return std::nullopt;
    }
    return notice;
}

QByteArray QuoteNotice::clientLine() const
{
    const QJsonObject line{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                           {QStringLiteral("method"), QStringLiteral("quoteChanged")},
                           {QStringLiteral("params"), params(*this)}};
    return QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n';
}
