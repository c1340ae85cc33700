#include "QuoteHistory.h"

#include "PacketLayouts.h"
#include "Refusal.h"
#include "Sql.h"

#include <algorithm>
#include <limits>

namespace {

QVariant textOrNull(const QVariant &value)
{
    return value.isNull() ? QVariant() : QVariant(value.toString());
}

QVariantList row(const char *kind, const QVariant &when, const QVariant &from, const QVariant &to, const QVariant &reason,
                 const QVariant &reasonName, const QVariant &operatorCode, const QVariant &text)
{
    return {QString::fromLatin1(kind), when.isNull() ? QVariant() : QVariant(when.toDouble()), textOrNull(from), textOrNull(to),
            textOrNull(reason), textOrNull(reasonName), textOrNull(operatorCode),
            text.isNull() ? QVariant() : QVariant(text.toString().toUtf8())};
}

struct StateLine {
    int number = 0;
    double when = 0;
    QVariantList values;
};

struct TextLine {
    int after = 0; // the state line it was written after; 0 before any
    QVariantList values;
};

} // namespace

QuoteHistory::QuoteHistory(const QSqlDatabase &db)
    : m_db(db)
{
}

DataPacket QuoteHistory::read(const QuoteKey &key) const
{
    const QVariantList keyValues{key.branch, key.number, key.sequence};
    QSqlQuery quote = Sql::run(m_db, QStringLiteral(
        "SELECT DTINCLORCEVE, IDSITUORCEVE FROM ORCAEVENTO WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?"), keyValues);
    if (!quote.next()) {
        throw Refusal(QStringLiteral("O orçamento %1 não existe.").arg(key.display()));
    }
    const QVariant created = quote.value(0);
    QString createdState = quote.value(1).toString();

    QList<StateLine> states;
    QSqlQuery stateQuery = Sql::run(m_db, QStringLiteral(
        "SELECT H.NRHISTSITU, H.DTHRHISTSITU, H.IDSITUANTORC, H.IDSITUORCEVE, H.CDJUSTEXCHIS, J.DSJUSTEXCHIS, H.CDOPERADOR "
        "FROM HISTSITUORCA H LEFT JOIN JUSTEXCHIS J ON J.CDJUSTEXCHIS = H.CDJUSTEXCHIS "
        "WHERE H.CDFILIAL = ? AND H.NRORCAEVENTO = ? AND H.NRSEQORCAEVE = ? ORDER BY H.NRHISTSITU"), keyValues);
    while (stateQuery.next()) {
        if (states.isEmpty()) {
            createdState = stateQuery.value(2).toString(); // the state the first change left
        }
        states << StateLine{stateQuery.value(0).toInt(), stateQuery.value(1).toDouble(),
                            row("S", stateQuery.value(1), stateQuery.value(2), stateQuery.value(3), stateQuery.value(4),
                                stateQuery.value(5), stateQuery.value(6), {})};
    }

    // The replaced texts oldest first, then the current one.
    QList<TextLine> texts;
    QSqlQuery textQuery = Sql::run(m_db, QStringLiteral(
        "SELECT NRHISTSITU, DTHRHISTORCA, DTHRGRAVOBS, CDOPERADOR, TXOBSJUSTORC, 0, NRHISTOBS FROM HISTOBSJUSTORCA "
        "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? "
        "UNION ALL SELECT NRHISTSITU, DTHRHISTORCA, DTHRGRAVOBS, CDOPERADOR, TXOBSJUSTORC, 1, 0 FROM OBSJUSTORCA "
        "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ? ORDER BY 6, 7"), keyValues + keyValues);
    while (textQuery.next()) {
        const double day = textQuery.value(1).toDouble();
        int after = textQuery.value(0).toInt();
        if (textQuery.value(0).isNull()) {
            // Written before the server kept its place: after the last
            // change made by the end of the day the screen gave it.
            after = 0;
            for (const StateLine &state : std::as_const(states)) {
                if (state.when < day + 1) {
                    after = state.number;
                }
            }
        }
        const QVariant when = textQuery.value(2).isNull() ? textQuery.value(1) : textQuery.value(2);
        texts << TextLine{after, row("J", when, {}, {}, {}, {}, textQuery.value(3), textQuery.value(4))};
    }
    std::stable_sort(texts.begin(), texts.end(), [](const TextLine &a, const TextLine &b) { return a.after < b.after; });

    DataPacket packet{PacketLayouts::historyFields(), {}};
    packet.rows << row("I", created, {}, createdState, {}, {}, {}, {});
    auto text = texts.cbegin();
    const auto textsUpTo = [&](int stateLine) {
        for (; text != texts.cend() && text->after <= stateLine; ++text) {
            packet.rows << text->values;
        }
    };
    textsUpTo(0);
    for (const StateLine &state : std::as_const(states)) {
        packet.rows << state.values;
        textsUpTo(state.number);
    }
    textsUpTo(std::numeric_limits<int>::max());
    return packet;
}
