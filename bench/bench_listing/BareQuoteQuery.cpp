#include "BareQuoteQuery.h"
#include "QuoteStates.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <stdexcept>

namespace {

// appserver/QuoteReader.cpp with the conditions QuoteFilter makes for the
// default filter: only the branch and the states list are applied.
const char *const statement =
    "SELECT NRORCAEVENTO, NRSEQORCAEVE, NMCLIEORCEVE, NMFANTCLIE, IDSITUORCEVE, "
    "CDTPSERVEVEN, NMTPSERVEVEN, CDTIPOEVENTO, NMTIPOEVENTO, CDFILIAL, QTCONVORCEVE, "
    "DSPRECOBASE, CDPRECOBASE, CDVENDEDOR, CDCLIENTE, DSTITUORCEVE, CDJUSTEXCHIS, "
    "DTEVENTO, DTVALIORCEVE, DTINCLORCEVE, CDOPEJUSTORC "
    "FROM ORCAEVENTO WHERE CDFILIAL = ? AND IDSITUORCEVE IN (?,?) ORDER BY NRORCAEVENTO, NRSEQORCAEVE";

// Its bound values, in order.
QStringList boundValues(const QString &branch)
{
    return {branch, QuoteState::Pending, QuoteState::Approved};
}

[[noreturn]] void fail(const QString &what, const QSqlError &error)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(what, error.text()).toStdString());
}

} // namespace

BareQuoteQuery::BareQuoteQuery(const QSqlDatabase &db)
    : m_db(db)
{
}

QString BareQuoteQuery::withLiterals(const QString &branch)
{
    QString text = QString::fromLatin1(statement);
    for (const QString &value : boundValues(branch)) {
        QString literal = value;
        literal.replace(QLatin1Char('\''), QLatin1String("''"));
        text.replace(text.indexOf(QLatin1Char('?')), 1, QLatin1Char('\'') + literal + QLatin1Char('\''));
    }
    return text;
}

qsizetype BareQuoteQuery::run(const QString &branch)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(QString::fromLatin1(statement))) {
        fail(QStringLiteral("cannot prepare the listing"), query.lastError());
    }
    for (const QString &value : boundValues(branch)) {
        query.addBindValue(value);
    }
    if (!query.exec()) {
        fail(QStringLiteral("cannot run the listing"), query.lastError());
    }
    const int width = query.record().count();
    while (query.next()) {
        QVariantList row;
        row.reserve(width);
        for (int column = 0; column < width; ++column) {
            row.append(query.value(column));
        }
        m_rows.append(std::move(row));
    }
    return m_rows.size();
}
