#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// Thin helpers over QtSql that turn every database failure into a
// std::runtime_error carrying the driver's text and the statement.
namespace Sql {
QSqlQuery prepare(const QSqlDatabase &db, const QString &statement);
void exec(QSqlQuery &query);
// Prepares, binds the values in order and runs one statement.
QSqlQuery run(const QSqlDatabase &db, const QString &statement, const QVariantList &values = {});
bool isPostgres(const QSqlDatabase &db);
// Whether the connection still reaches its database: false once the server
// ended the session or went away, which no statement on it survives.
bool answers(const QSqlDatabase &db);
// A text column's value as the wire wants it: NULL stays the empty value.
QVariant text(const QVariant &value);
} // namespace Sql
