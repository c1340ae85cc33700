#pragma once

#include <QSqlDatabase>

struct pg_conn;

// libpq's own connection under a connection QtSql opened, for what QtSql
// does not offer (rows handed over while PostgreSQL still sends the rest).
// It stays QtSql's: the same pool slot, the same session settings.
namespace PostgresHandle {
// Throws std::runtime_error when `db` is not an open PostgreSQL connection.
pg_conn *of(const QSqlDatabase &db);
} // namespace PostgresHandle
