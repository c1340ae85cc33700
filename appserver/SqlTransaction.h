#pragma once

#include <QSqlDatabase>

// One write transaction. On SQLite it takes the write lock at once
// (BEGIN IMMEDIATE), so two writers queue on the busy timeout instead of
// failing half-way; the destructor rolls back anything not committed, so
// an exception anywhere leaves the database as it was.
class SqlTransaction final {
public:
    explicit SqlTransaction(const QSqlDatabase &db); // throws std::runtime_error
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction &) = delete;
    SqlTransaction &operator=(const SqlTransaction &) = delete;

    void commit(); // throws std::runtime_error; the transaction is over either way

private:
    QSqlDatabase m_db;
    bool m_open = false;
};
