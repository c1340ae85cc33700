#include "ReadBack.h"

#include "QuoteListing.h"
#include "QuoteServer.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "Showavi.h"

namespace {

constexpr int readingData = 6;

QString field(const RecordList &list, const char *name)
{
    return list.fieldByName(QLatin1String(name)).asString();
}

} // namespace

QuoteKey QuoteKey::current(const RecordList &list)
{
    if (!list.isActive() || list.isEmpty()) {
        return {};
    }
    return {field(list, "CDFILIAL"), field(list, "NRORCAEVENTO"), field(list, "NRSEQORCAEVE")};
}

namespace ReadBack {

std::optional<StoredQuote> quote(QuoteServer &server, const QuoteKey &key)
{
    QuoteListing justThis;
    justThis.number = {key.number, key.number, QString()};
    justThis.allStates = QuoteListing::all;
    RecordList listed(QStringLiteral("cdsOrcamentoLido"));
    {
        Showavi::Busy busy(readingData);
        std::optional<PacketColumns> packet;
        const QJsonValue answer =
            server.callPacket(QStringLiteral("GetOrcamento"), TNetArg::listing(key.branch, justThis), packet);
        if (!answer.toObject().value(QStringLiteral("ok")).toBool()) {
            throw std::runtime_error(answer.toObject().value(QStringLiteral("message")).toString().toStdString());
        }
        ServerAnswer::LoadPacket(listed, std::move(packet));
    }
    for (listed.first(); !listed.eof(); listed.next()) {
        if (field(listed, "NRORCAEVENTO") == key.number && field(listed, "NRSEQORCAEVE") == key.sequence) {
            StoredQuote found{field(listed, "IDSITUORCEVE"), field(listed, "CDJUSTEXCHIS"), field(listed, "CDOPEJUSTORC"),
                              std::nullopt};
            found.justification = justification(server, key);
            return found;
        }
    }
    return std::nullopt;
}

std::optional<QString> justification(QuoteServer &server, const QuoteKey &key)
{
    Showavi::Busy busy(readingData);
    const QJsonValue answer =
        server.call(QStringLiteral("GetItemOrc"), {key.branch, key.number, key.sequence});
    const QJsonObject checked = answer.toObject();
    if (!checked.value(QStringLiteral("ok")).toBool()) {
        throw std::runtime_error(checked.value(QStringLiteral("message")).toString().toStdString());
    }
    RecordList text(QStringLiteral("cdsObsLida"));
    ServerAnswer::LoadPacket(text, ServerAnswer::Element(checked.value(QStringLiteral("data")), 1));
    if (text.isEmpty()) {
        return std::nullopt;
    }
    return text.fieldByName(QStringLiteral("TXOBSJUSTORC")).asString();
}

} // namespace ReadBack
