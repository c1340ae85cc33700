#include "SqliteHandle.h"

#include <QSqlDriver>
#include <QVariant>

#include <stdexcept>

namespace SqliteHandle {

sqlite3 *of(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    sqlite3 *connection = nullptr;
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        connection = *static_cast<sqlite3 *const *>(handle.constData());
    }
    if (connection == nullptr) {
        throw std::runtime_error("not an open SQLite connection");
    }
    return connection;
}

} // namespace SqliteHandle
