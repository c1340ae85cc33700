#include "StoredQuote.h"

#include "Sql.h"

#include <cmath>

namespace {

std::optional<StoredQuote> read(const QSqlDatabase &db, const QuoteKey &key, const QString &suffix)
{
    QSqlQuery query = Sql::run(db, QStringLiteral(
        "SELECT IDSITUORCEVE, IDSITUANTORC, CDSALAOEVEN, DTEVENTO, HREVENTO FROM ORCAEVENTO "
        "WHERE CDFILIAL = ? AND NRORCAEVENTO = ? AND NRSEQORCAEVE = ?") + suffix, {key.branch, key.number, key.sequence});
    if (!query.next()) {
        return std::nullopt;
    }
    StoredQuote quote;
    quote.key = key;
    quote.state = query.value(0).toString();
    quote.previousState = query.value(1).toString();
    quote.hall = query.value(2).toString();
    quote.eventDay = query.value(3).isNull() ? 0 : std::floor(query.value(3).toDouble());
    quote.eventHour = query.value(4).toString();
    return quote;
}

} // namespace

std::optional<StoredQuote> StoredQuote::load(const QSqlDatabase &db, const QuoteKey &key)
{
    return read(db, key, QString());
}

std::optional<StoredQuote> StoredQuote::lock(const QSqlDatabase &db, const QuoteKey &key)
{
    return read(db, key, Sql::isPostgres(db) ? QStringLiteral(" FOR UPDATE") : QString());
}
