#include "WriteAudit.h"
#include "QuoteStates.h"

#include <QSqlError>
#include <QSqlQuery>

#include <stdexcept>

namespace {

QSqlQuery run(const QSqlDatabase &db, const QString &statement, const QVariantList &values = {})
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool done = query.prepare(statement);
    for (const QVariant &value : values) {
        query.addBindValue(value);
    }
    done = done && query.exec();
    if (!done) {
        throw std::runtime_error(QStringLiteral("audit query failed: %1 [%2]").arg(query.lastError().text(), statement).toStdString());
    }
    return query;
}

} // namespace

WriteAudit::WriteAudit(const QSqlDatabase &db)
    : m_db(db)
{
}

qint64 WriteAudit::count(const QString &statement, const QVariantList &values) const
{
    QSqlQuery query = run(m_db, statement, values);
    query.next();
    return query.value(0).toLongLong();
}

WriteAudit::Counts WriteAudit::counts() const
{
    Counts counts;
    counts.cancelledQuotes = count(QStringLiteral("SELECT COUNT(*) FROM ORCAEVENTO WHERE IDSITUORCEVE = ?"), {QuoteState::Cancelled});
    counts.historyRows = count(QStringLiteral("SELECT COUNT(*) FROM HISTSITUORCA"));
    return counts;
}

QStringList WriteAudit::keys(const QString &statement, const QString &operatorPrefix) const
{
    QSqlQuery query = run(m_db, statement, {QuoteState::Cancelled, operatorPrefix + QLatin1Char('%')});
    QStringList keys;
    while (query.next()) {
        keys << QStringLiteral("%1/%2-%3").arg(query.value(0).toString(), query.value(1).toString(), query.value(2).toString());
    }
    return keys;
}

QStringList WriteAudit::historyKeys(const QString &operatorPrefix) const
{
    return keys(QStringLiteral("SELECT CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE FROM HISTSITUORCA "
                               "WHERE IDSITUORCEVE = ? AND CDOPERADOR LIKE ?"),
                operatorPrefix);
}

QStringList WriteAudit::cancelledQuoteKeys(const QString &operatorPrefix) const
{
    return keys(QStringLiteral("SELECT CDFILIAL, NRORCAEVENTO, NRSEQORCAEVE FROM ORCAEVENTO "
                               "WHERE IDSITUORCEVE = ? AND CDOPEJUSTORC LIKE ?"),
                operatorPrefix);
}
