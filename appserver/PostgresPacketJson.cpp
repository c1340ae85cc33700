#include "PostgresPacketJson.h"

#include "JsonText.h"
#include "PacketJson.h"

#include <libpq-fe.h>

#include <charconv>

namespace {

// PostgreSQL's type numbers for the columns QtSql reads as numbers.
enum TypeOid : Oid { Int8 = 20, Int2 = 21, Int4 = 23, Oid4 = 26, Float4 = 700, Float8 = 701, Numeric = 1700 };

bool isFloat(Oid type)
{
    return type == Float4 || type == Float8 || type == Numeric;
}

bool isWhole(Oid type)
{
    return type == Int2 || type == Int4 || type == Int8 || type == Oid4;
}

// A number as PostgreSQL writes it ("Infinity" and "NaN" included), read
// back as the driver reads it.
double number(const char *text, int length)
{
    double value = 0;
    std::from_chars(text, text + length, value);
    return value;
}

// The value QtSql's PostgreSQL driver makes of a column (NULL aside).
QVariant driverValue(Oid type, const char *text, int length)
{
    if (isFloat(type)) {
        return QVariant(number(text, length));
    }
    if (isWhole(type)) {
        return QVariant(QByteArray::fromRawData(text, length).toLongLong());
    }
    return QVariant(QString::fromUtf8(text, length));
}

void appendColumn(QByteArray &out, const PGresult *result, int row, int column, FieldType type)
{
    if (PQgetisnull(result, row, column)) {
        out.append("null");
        return;
    }
    const char *text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    const Oid stored = PQftype(result, column);
    if (type == FieldType::Text && !isFloat(stored) && !isWhole(stored)) {
        if (!JsonText::appendUtf8(out, QByteArrayView(text, length))) {
            // Text appendUtf8 leaves to the UTF-16 way, as QtSql reads it.
            JsonText::appendString(out, QString::fromUtf8(text, length));
        }
    } else if (stored == Float8 && (type == FieldType::Float || type == FieldType::DateTime)) {
        JsonText::appendNumber(out, number(text, length));
    } else {
        PacketJson::appendValue(out, driverValue(stored, text, length), type);
    }
}

} // namespace

namespace PostgresPacketJson {

qsizetype write(PostgresRows &rows, const QList<FieldDef> &fields, int firstStored, AnswerStream &out)
{
    return PacketJson::writeRows(fields, firstStored, out, [&rows] { return rows.next(); },
                                 [&rows](QByteArray &text, int column, FieldType type) { appendColumn(text, rows.result(), rows.rowNumber(), column, type); });
}

} // namespace PostgresPacketJson
