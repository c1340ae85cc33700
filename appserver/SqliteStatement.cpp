#include "SqliteStatement.h"

#include "SqliteHandle.h"

#include <sqlite3.h>

#include <stdexcept>

void SqliteStatement::Finalize::operator()(sqlite3_stmt *statement) const
{
    sqlite3_finalize(statement);
}

SqliteStatement::SqliteStatement(const QSqlDatabase &db, const QString &statement, const QVariantList &values)
    : m_text(statement)
{
    sqlite3 *connection = SqliteHandle::of(db);
    const QByteArray text = statement.toUtf8();
    sqlite3_stmt *prepared = nullptr;
    const int result = sqlite3_prepare_v2(connection, text.constData(), int(text.size()), &prepared, nullptr);
    m_statement.reset(prepared);
    if (result != SQLITE_OK) {
        throw std::runtime_error(
            QStringLiteral("%1 [%2]").arg(QString::fromUtf8(sqlite3_errmsg(connection)), statement.simplified().left(200)).toStdString());
    }
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        const int position = i + 1;
        int bound = SQLITE_OK;
        if (value.isNull()) {
            bound = sqlite3_bind_null(row(), position);
        } else if (value.typeId() == QMetaType::QString) {
            const QByteArray utf8 = value.toString().toUtf8();
            bound = sqlite3_bind_text(row(), position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
        } else if (value.typeId() == QMetaType::Double) {
            bound = sqlite3_bind_double(row(), position, value.toDouble());
        } else if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong) {
            bound = sqlite3_bind_int64(row(), position, value.toLongLong());
        } else {
            throw std::invalid_argument(QStringLiteral("no SQLite binding for a %1 [%2]")
                                            .arg(QString::fromLatin1(value.typeName()), statement.simplified().left(200))
                                            .toStdString());
        }
        if (bound != SQLITE_OK) {
            fail();
        }
    }
}

bool SqliteStatement::next()
{
    const int stepped = sqlite3_step(row());
    if (stepped == SQLITE_ROW) {
        return true;
    }
    if (stepped == SQLITE_DONE) {
        return false;
    }
    fail();
}

void SqliteStatement::fail() const
{
    throw std::runtime_error(QStringLiteral("%1 [%2]")
                                 .arg(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(row()))), m_text.simplified().left(200))
                                 .toStdString());
}
