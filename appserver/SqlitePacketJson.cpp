#include "SqlitePacketJson.h"

#include "JsonText.h"
#include "PacketJson.h"

#include <sqlite3.h>

namespace {

// A text as QtSql's driver reads every text: converted by SQLite to UTF-16.
QStringView utf16Text(sqlite3_stmt *row, int column)
{
    const auto *units = static_cast<const char16_t *>(sqlite3_column_text16(row, column));
    return QStringView(units, sqlite3_column_bytes16(row, column) / qsizetype(sizeof(char16_t)));
}

// The value QtSql's SQLite driver makes of a column (NULL aside).
QVariant driverValue(sqlite3_stmt *row, int column, int storage)
{
    switch (storage) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(row, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(row, column));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char *>(sqlite3_column_blob(row, column)), sqlite3_column_bytes(row, column)));
    default:
        return QVariant(utf16Text(row, column).toString());
    }
}

void appendColumn(QByteArray &out, sqlite3_stmt *row, int column, FieldType type)
{
    // The storage class first: reading a column in another form converts it.
    const int storage = sqlite3_column_type(row, column);
    if (storage == SQLITE_NULL) {
        out.append("null");
    } else if (storage == SQLITE_TEXT && type == FieldType::Text) {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(row, column));
        if (!JsonText::appendUtf8(out, QByteArrayView(utf8, sqlite3_column_bytes(row, column)))) {
            // Bytes SQLite would change on the way to UTF-16 go that way,
            // as QtSql reads them.
            JsonText::appendString(out, utf16Text(row, column));
        }
    } else if (storage == SQLITE_FLOAT && (type == FieldType::Float || type == FieldType::DateTime)) {
        JsonText::appendNumber(out, sqlite3_column_double(row, column));
    } else {
        // A number in a text column, a text in a number column, a blob:
        // rare enough to go through the value QtSql would have given.
        PacketJson::appendValue(out, driverValue(row, column, storage), type);
    }
}

} // namespace

namespace SqlitePacketJson {

qsizetype write(SqliteStatement &statement, const QList<FieldDef> &fields, int firstStored, AnswerStream &out)
{
    return PacketJson::writeRows(fields, firstStored, out, [&statement] { return statement.next(); },
                                 [&statement](QByteArray &text, int column, FieldType type) { appendColumn(text, statement.row(), column, type); });
}

} // namespace SqlitePacketJson
