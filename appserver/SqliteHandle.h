#pragma once

#include <QSqlDatabase>

struct sqlite3;

// The SQLite library's own connection under a connection QtSql opened, for
// what QtSql does not offer (SQL functions, stepping a statement without a
// copy of every value).
namespace SqliteHandle {
// Throws std::runtime_error when `db` is not an open SQLite connection.
sqlite3 *of(const QSqlDatabase &db);
} // namespace SqliteHandle
