#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <memory>

struct pg_conn;
struct pg_result;

// One SELECT sent through libpq on a connection QtSql opened, its rows taken
// one at a time while PostgreSQL still sends the rest (single-row mode),
// instead of only once the whole result has arrived as QtSql takes it. The
// session is QtSql's, so its statement_timeout bounds the query.
class PostgresRows final {
public:
    // Sends `statement` ("?" placeholders, as QtSql takes them) with
    // `values` as text parameters whose types PostgreSQL infers, as a
    // prepared QtSql statement leaves them: texts in UTF-8, whole numbers
    // and doubles as numbers, null values as NULL. Throws
    // std::runtime_error with PostgreSQL's message (std::invalid_argument
    // for a value of another kind).
    PostgresRows(const QSqlDatabase &db, const QString &statement, const QVariantList &values);
    // A query left before its last row is cancelled and what is left of it
    // taken, so that the connection is free for the next statement.
    ~PostgresRows();
    PostgresRows(const PostgresRows &) = delete;
    PostgresRows &operator=(const PostgresRows &) = delete;

    // Waits for the next row; false after the last one. Throws
    // std::runtime_error with PostgreSQL's message when the query fails on
    // the way (a statement_timeout among them).
    bool next();
    // The current row (row 0 of a one-row result), for the PQget* functions.
    const pg_result *row() const { return m_row.get(); }

private:
    struct Clear {
        void operator()(pg_result *result) const;
    };

    [[noreturn]] void fail(const char *message);
    void takeRest();

    pg_conn *m_connection;
    QString m_text;
    std::unique_ptr<pg_result, Clear> m_row;
    bool m_finished = false;
};
