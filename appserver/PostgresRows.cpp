#include "PostgresRows.h"

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

} // namespace

void PostgresRows::Clear::operator()(pg_result *result) const
{
    PQclear(result);
}

PostgresRows::PostgresRows(const QSqlDatabase &db, const QString &statement, const QVariantList &values)
    : m_connection(PostgresHandle::of(db)), m_text(statement)
{
    QList<QByteArray> texts;
    std::vector<const char *> parameters;
    for (const QVariant &value : values) {
        texts << parameterText(value, statement);
    }
    for (const QByteArray &text : texts) {
        parameters.push_back(text.isNull() ? nullptr : text.constData());
    }
    const QByteArray sql = numberedPlaceholders(statement);
    if (!PQsendQueryParams(m_connection, sql.constData(), int(parameters.size()), nullptr, parameters.data(), nullptr, nullptr, 0)) {
        m_finished = true;
        fail(PQerrorMessage(m_connection));
    }
    if (!PQsetSingleRowMode(m_connection)) {
        fail("single-row mode refused");
    }
}

PostgresRows::~PostgresRows()
{
    m_row.reset();
    if (m_finished) {
        return;
    }
    if (PGcancel *cancel = PQgetCancel(m_connection)) {
        char error[256];
        PQcancel(cancel, error, int(sizeof error));
        PQfreeCancel(cancel);
    }
    takeRest();
}

void PostgresRows::takeRest()
{
    while (PGresult *rest = PQgetResult(m_connection)) {
        PQclear(rest);
    }
    m_finished = true;
}

bool PostgresRows::next()
{
    if (m_finished) {
        return false;
    }
    m_row.reset(PQgetResult(m_connection));
    switch (PQresultStatus(m_row.get())) {
    case PGRES_SINGLE_TUPLE:
        return true;
    case PGRES_TUPLES_OK: // the end of the rows
        m_row.reset();
        takeRest();
        return false;
    default:
        fail(m_row ? PQresultErrorMessage(m_row.get()) : PQerrorMessage(m_connection));
    }
}

void PostgresRows::fail(const char *message)
{
    const QString text = QStringLiteral("%1 [%2]").arg(QString::fromUtf8(message).trimmed(), m_text.simplified().left(200));
    m_row.reset();
    if (!m_finished) {
        takeRest();
    }
    throw std::runtime_error(text.toStdString());
}
