#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <memory>

struct sqlite3_stmt;

// One SELECT stepped straight through the SQLite library on a connection
// QtSql opened, so its values can be read where SQLite keeps them instead
// of being copied into QVariants first.
class SqliteStatement final {
public:
    // Prepares `statement` on `db` and binds `values` in order: texts as
    // UTF-8, whole numbers and doubles as they are, null values as NULL.
    // Throws std::runtime_error with SQLite's message (and
    // std::invalid_argument for a value of another kind).
    SqliteStatement(const QSqlDatabase &db, const QString &statement, const QVariantList &values);

    // Steps to the next row; false after the last one. Throws
    // std::runtime_error with SQLite's message when the step fails.
    bool next();
    // The current row, for the sqlite3_column_* functions.
    sqlite3_stmt *row() const { return m_statement.get(); }

private:
    struct Finalize {
        void operator()(sqlite3_stmt *statement) const;
    };

    [[noreturn]] void fail() const;

    QString m_text;
    std::unique_ptr<sqlite3_stmt, Finalize> m_statement;
};
