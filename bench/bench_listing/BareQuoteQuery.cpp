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

[[noreturn]] void fail(const QString &what, const QSqlError &error)
{
    throw std::runtime_error(QStringLiteral("%1: %2").arg(what, error.text()).toStdString());
}

} // namespace

BareQuoteQuery::BareQuoteQuery(const QString &file)
    : m_connectionName(QStringLiteral("bench-bare-%1").arg(file))
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(file);
    m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!m_db.open()) {
        fail(QStringLiteral("cannot open %1").arg(file), m_db.lastError());
    }
}

BareQuoteQuery::~BareQuoteQuery()
{
    m_rows.clear();
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

qsizetype BareQuoteQuery::run(const QString &branch)
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(QString::fromLatin1(statement))) {
        fail(QStringLiteral("cannot prepare the listing"), query.lastError());
    }
    query.addBindValue(branch);
    query.addBindValue(QuoteState::Pending);
    query.addBindValue(QuoteState::Approved);
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
