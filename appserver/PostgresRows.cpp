#include "PostgresRows.h"

#include "CallDeadline.h"
#include "PostgresHandle.h"

#include <libpq-fe.h>

#include <QLocale>

#include <stdexcept>
#include <vector>

namespace {

// QtSql's "?" placeholders as PostgreSQL's "$1", "$2"..., leaving quoted
// literals and identifiers as they are.
QByteArray numberedPlaceholders(const QString &statement)
{
    QString text;
    text.reserve(statement.size() + 16);
    QChar quote;
    int placeholders = 0;
    for (const QChar c : statement) {
        if (!quote.isNull()) {
            quote = c == quote ? QChar() : quote;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char('?')) {
            text += QLatin1Char('$') + QString::number(++placeholders);
            continue;
        }
        text += c;
    }
    return text.toUtf8();
}

// A bound value as the text PostgreSQL reads for its inferred type; a null
// QByteArray for NULL.
QByteArray parameterText(const QVariant &value, const QString &statement)
{
    if (value.isNull()) {
        return {};
    }
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString().toUtf8();
    case QMetaType::Double:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QByteArray::number(value.toLongLong());
    default:
        throw std::invalid_argument(QStringLiteral("no PostgreSQL parameter for a %1 [%2]")
                                        .arg(QString::fromLatin1(value.typeName()), statement.simplified().left(200))
                                        .toStdString());
    }
}

constexpr char cursorName[] = "listing_rows";

} // namespace

void PostgresRows::Clear::operator()(pg_result *result) const
{
    PQclear(result);
}

PostgresRows::PostgresRows(const QSqlDatabase &db, const QString &statement, const QVariantList &values, const CallDeadline *deadline)
    : m_connection(PostgresHandle::of(db)), m_deadline(deadline), m_text(statement)
{
    if (PQtransactionStatus(m_connection) != PQTRANS_IDLE) {
        throw std::logic_error("a listing's cursor runs in a transaction of its own, not inside another");
    }
    QList<QByteArray> texts;
    std::vector<const char *> parameters;
    for (const QVariant &value : values) {
        texts << parameterText(value, statement);
    }
    for (const QByteArray &text : texts) {
        parameters.push_back(text.isNull() ? nullptr : text.constData());
    }
    command(PQexec(m_connection, "BEGIN READ ONLY"));
    m_inTransaction = true;
    const QByteArray declare = QByteArray("DECLARE ") + cursorName + " NO SCROLL CURSOR FOR " + numberedPlaceholders(statement);
    command(PQexecParams(m_connection, declare.constData(), int(parameters.size()), nullptr, parameters.data(), nullptr, nullptr, 0));
    sendFetch();
}

PostgresRows::~PostgresRows()
{
    if (m_fetching) {
        if (PGcancel *cancel = PQgetCancel(m_connection)) {
            char error[256];
            PQcancel(cancel, error, int(sizeof error));
            PQfreeCancel(cancel);
        }
    }
    finish();
}

void PostgresRows::command(pg_result *result)
{
    const std::unique_ptr<PGresult, Clear> done(result);
    if (PQresultStatus(result) != PGRES_COMMAND_OK) {
        fail(errorOf(result));
    }
}

// A failed statement's message: its result's, or the connection's when there is none.
const char *PostgresRows::errorOf(const pg_result *result) const
{
    return result ? PQresultErrorMessage(result) : PQerrorMessage(m_connection);
}

void PostgresRows::sendFetch()
{
    // Several fetches to one query, so that PostgreSQL goes on to the next
    // batch while the last one is handed over. Each is a statement of its
    // own; their timeout is what the call has left.
    QByteArray fetches;
    if (m_deadline) {
        fetches = "SET LOCAL statement_timeout = " + QByteArray::number(m_deadline->remainingMs()) + ";";
    }
    const QByteArray fetch = " FETCH " + QByteArray::number(batchRows) + " FROM " + cursorName + ";";
    for (int i = 0; i < fetchesPerQuery; ++i) {
        fetches += fetch;
    }
    if (!PQsendQuery(m_connection, fetches.constData())) {
        fail(PQerrorMessage(m_connection));
    }
    m_fetching = true;
    m_batchesLeft = fetchesPerQuery;
}

bool PostgresRows::next()
{
    if (m_batch && ++m_row < PQntuples(m_batch.get())) {
        return true;
    }
    m_batch.reset();
    if (!m_fetching) {
        return false;
    }
    do { // past the SET
        m_batch.reset(PQgetResult(m_connection));
    } while (PQresultStatus(m_batch.get()) == PGRES_COMMAND_OK);
    if (PQresultStatus(m_batch.get()) != PGRES_TUPLES_OK) {
        fail(errorOf(m_batch.get()));
    }
    m_row = 0;
    const int rows = PQntuples(m_batch.get());
    if (rows < batchRows) {
        finish();
    } else if (--m_batchesLeft == 0) {
        PQclear(PQgetResult(m_connection)); // the end of the query
        sendFetch();
    }
    return rows > 0;
}

void PostgresRows::finish()
{
    while (m_fetching) {
        PGresult *rest = PQgetResult(m_connection);
        m_fetching = rest != nullptr;
        PQclear(rest);
    }
    // The rollback closes the cursor and ends a transaction a failed fetch
    // left aborted; the session's own statement_timeout is back.
    if (m_inTransaction) {
        PQclear(PQexec(m_connection, "ROLLBACK"));
        m_inTransaction = false;
    }
}

void PostgresRows::fail(const char *message)
{
    const QString text = QStringLiteral("%1 [%2]").arg(QString::fromUtf8(message).trimmed(), m_text.simplified().left(200));
    m_batch.reset();
    finish();
    throw std::runtime_error(text.toStdString());
}
