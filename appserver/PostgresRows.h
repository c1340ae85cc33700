#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

#include <memory>

class CallDeadline;
struct pg_conn;
struct pg_result;

// One SELECT read through libpq on a connection QtSql opened, its rows
// taken while PostgreSQL still sends the rest, instead of only once the
// whole result has arrived as QtSql takes it. The SELECT is a cursor's, in
// a read-only transaction of its own: a cursor tells the planner that rows
// are taken as they come, so it plans for the first rows (a branch's
// primary key walked in order) rather than sorting all of them before the
// first one leaves. The rows come in batches, several asked for in one
// query, the next query sent before its last batch is handed over, so that
// PostgreSQL goes on while the rows are written. Each fetch is bounded by
// what is left of the call.
class PostgresRows final {
public:
    // Rows fetched at a time, and fetches sent together.
    static constexpr int batchRows = 2000;
    static constexpr int fetchesPerQuery = 4;

    // Declares the cursor for `statement` ("?" placeholders, as QtSql takes
    // them) with `values` as text parameters whose types PostgreSQL infers,
    // as a prepared QtSql statement leaves them: texts in UTF-8, whole
    // numbers and doubles as numbers, null values as NULL. Throws
    // std::runtime_error with PostgreSQL's message (std::invalid_argument
    // for a value of another kind), std::logic_error inside a transaction.
    // Without a `deadline` each fetch has the session's statement_timeout.
    PostgresRows(const QSqlDatabase &db, const QString &statement, const QVariantList &values, const CallDeadline *deadline);
    // Rows left unread are cancelled; the transaction ends either way, so
    // that the connection is free for the next statement.
    ~PostgresRows();
    PostgresRows(const PostgresRows &) = delete;
    PostgresRows &operator=(const PostgresRows &) = delete;

    // Steps to the next row; false after the last one. Throws
    // std::runtime_error with PostgreSQL's message when a fetch fails (its
    // timeout among them).
    bool next();
    // The current row is row rowNumber() of result(), for the PQget* functions.
    const pg_result *result() const { return m_batch.get(); }
    int rowNumber() const { return m_row; }

private:
    struct Clear {
        void operator()(pg_result *result) const;
    };

    // Takes a command's result; throws when it failed.
    void command(pg_result *result);
    const char *errorOf(const pg_result *result) const;
    void sendFetch();
    [[noreturn]] void fail(const char *message);
    // Takes what is left of a fetch on its way, then rolls the transaction back.
    void finish();

    pg_conn *m_connection;
    const CallDeadline *m_deadline;
    QString m_text;
    std::unique_ptr<pg_result, Clear> m_batch;
    int m_row = -1;
    bool m_fetching = false;
    int m_batchesLeft = 0;
    bool m_inTransaction = false;
};
