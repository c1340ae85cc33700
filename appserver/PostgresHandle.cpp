#include "PostgresHandle.h"

#include <QSqlDriver>
#include <QVariant>

#include <stdexcept>

namespace PostgresHandle {

pg_conn *of(const QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    pg_conn *connection = nullptr;
    // Qt names the type by libpq's typedef or by the struct under it.
    if (handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 || qstrcmp(handle.typeName(), "pg_conn*") == 0)) {
        connection = *static_cast<pg_conn *const *>(handle.constData());
    }
    if (connection == nullptr) {
        throw std::runtime_error("not an open PostgreSQL connection");
    }
    return connection;
}

} // namespace PostgresHandle
