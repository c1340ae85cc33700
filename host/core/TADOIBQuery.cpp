#include "TADOIBQuery.h"

#include "DayCount.h"
#include "TdtmDBGeral.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <stdexcept>

namespace {

struct PositionalSql {
    QString text;      // the SQL with every ":NAME" turned into "?"
    QStringList names; // the parameter of each "?", in order, upper case
};

bool startsIdentifier(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_');
}

qsizetype skipQuoted(const QString &sql, qsizetype from)
{
    const QChar quote = sql.at(from);
    qsizetype i = from + 1;
    while (i < sql.size()) {
        if (sql.at(i) == quote) {
            if (i + 1 < sql.size() && sql.at(i + 1) == quote) {
                i += 2; // a doubled quote stays inside the literal
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return i;
}

qsizetype skipComment(const QString &sql, qsizetype from)
{
    if (sql.at(from + 1) == QLatin1Char('-')) {
        const qsizetype end = sql.indexOf(QLatin1Char('\n'), from);
        return end < 0 ? sql.size() : end;
    }
    const qsizetype end = sql.indexOf(QLatin1String("*/"), from + 2);
    return end < 0 ? sql.size() : end + 2;
}

// The drivers differ in how they treat a named parameter written twice, so
// the query binds by position: each place of a name gets its own "?".
// Quoted text and "::" casts are left alone; comments are dropped.
PositionalSql positional(const QString &sql)
{
    PositionalSql result;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < sql.size() ? sql.at(i + 1) : QChar();
        qsizetype end = i + 1;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            end = skipQuoted(sql, i);
        } else if ((c == QLatin1Char('-') && next == QLatin1Char('-'))
                   || (c == QLatin1Char('/') && next == QLatin1Char('*'))) {
            // Dropped, because the toolkit's own placeholder scan does not
            // know comments and would count a colon in one.
            result.text += QLatin1Char(' ');
            i = skipComment(sql, i);
            continue;
        } else if (c == QLatin1Char(':') && next == QLatin1Char(':')) {
            end = i + 2;
        } else if (c == QLatin1Char(':') && startsIdentifier(next)) {
            end = i + 1;
            while (end < sql.size() && (sql.at(end).isLetterOrNumber() || sql.at(end) == QLatin1Char('_'))) {
                ++end;
            }
            result.names << sql.mid(i + 1, end - i - 1).toUpper();
            result.text += QLatin1Char('?');
            i = end;
            continue;
        }
        result.text += sql.mid(i, end - i);
        i = end;
    }
    return result;
}

QString normalisedName(const QString &name)
{
    return (name.startsWith(QLatin1Char(':')) ? name.mid(1) : name).toUpper();
}

FieldType typeOfColumn(const QSqlField &column)
{
    switch (column.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return FieldType::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return FieldType::Float;
    case QMetaType::QDate:
    case QMetaType::QDateTime:
        return FieldType::DateTime;
    case QMetaType::QByteArray:
        return FieldType::Blob;
    default:
        return FieldType::Text;
    }
}

double dayCountOf(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QDate) {
        return DayCount::fromDate(value.toDate());
    }
    if (value.metaType().id() == QMetaType::QDateTime) {
        return DayCount::fromDateTime(value.toDateTime());
    }
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    if (isNumber) {
        return number;
    }
    // SQLite keeps dates as ISO text.
    const QString text = value.toString();
    const QDateTime dateTime = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (dateTime.isValid()) {
        return DayCount::fromDateTime(dateTime);
    }
    return DayCount::fromDate(QDate::fromString(text, Qt::ISODate));
}

// The column value in the list's in-memory form for the field's type.
QVariant listValue(const QVariant &value, FieldType type)
{
    if (value.isNull()) {
        return QVariant();
    }
    switch (type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Float:
        return value.toDouble();
    case FieldType::Integer:
        return value.toLongLong();
    case FieldType::DateTime:
        return dayCountOf(value);
    case FieldType::Blob:
        return value.toByteArray();
    }
    return value;
}

[[noreturn]] void refuseEditing(RecordList &)
{
    throw std::runtime_error("Consulta somente leitura.");
}

} // namespace

TADOIBQuery::Param::Param(TADOIBQuery &query, const QString &name)
    : m_query(query)
    , m_name(name)
{
}

void TADOIBQuery::Param::setAsString(const QString &text)
{
    m_query.setParam(m_name, text);
}

QString TADOIBQuery::Param::asString() const
{
    return m_query.m_params.value(m_name);
}

TADOIBQuery::TADOIBQuery(const QString &name, QObject *parent)
    : RecordList(name, parent)
{
    beforeEdit = refuseEditing;
    beforeInsert = refuseEditing;
    beforeDelete = refuseEditing;
}

void TADOIBQuery::setParam(const QString &name, const QString &text)
{
    m_params.insert(normalisedName(name), text);
}

TADOIBQuery::Param TADOIBQuery::ParamByName(const QString &name)
{
    return Param(*this, normalisedName(name));
}

void TADOIBQuery::Open()
{
    Close();
    if (!dtmDBGeral || !dtmDBGeral->isOpen()) {
        throw std::runtime_error("Banco de dados local não está aberto.");
    }
    const PositionalSql statement = positional(SQL.join(QLatin1Char('\n')));
    QSqlQuery query(dtmDBGeral->database());
    query.setForwardOnly(true);
    if (!query.prepare(statement.text)) {
        throw std::runtime_error(query.lastError().text().toStdString());
    }
    for (qsizetype i = 0; i < statement.names.size(); ++i) {
        const auto given = m_params.constFind(statement.names.at(i));
        query.bindValue(static_cast<int>(i), given != m_params.constEnd()
                                                  ? QVariant(*given)
                                                  : QVariant(QMetaType::fromType<QString>()));
    }
    if (!query.exec()) {
        throw std::runtime_error(query.lastError().text().toStdString());
    }

    DataPacket packet;
    QList<bool> sizedByValues; // text columns made here, as wide as their longest value
    const QSqlRecord columns = query.record();
    for (int i = 0; i < columns.count(); ++i) {
        const QSqlField column = columns.field(i);
        if (const Field *declared = findField(column.name())) {
            packet.fields << declared->definition();
            sizedByValues << false;
        } else {
            packet.fields << FieldDef{column.name(), typeOfColumn(column), qMax(0, column.length())};
            sizedByValues << (packet.fields.last().type == FieldType::Text);
        }
    }
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < packet.fields.size(); ++i) {
            FieldDef &field = packet.fields[i];
            row << listValue(query.value(i), field.type);
            // SQLite reports no column width; sizing by the values lets grids
            // and lookups show the column whole.
            if (sizedByValues.at(i)) {
                field.size = qMax(field.size, static_cast<int>(row.last().toString().size()));
            }
        }
        packet.rows << row;
    }
    loadPacket(packet);
}

void TADOIBQuery::Close()
{
    close();
}
