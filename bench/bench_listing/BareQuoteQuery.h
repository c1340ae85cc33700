#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// The listing's own SELECT run straight through QtSql on the database the
// server serves: the floor that a listing through the server is measured
// against. The statement and its bound values are the ones appserver's
// QuoteReader builds for the default filter (branch, states "1" and "2");
// without a text criterion it uses no FOLD(), so any SQLite can run it.
class BareQuoteQuery final {
public:
    // Runs on `db` (SQLite or PostgreSQL), which must outlive this object.
    explicit BareQuoteQuery(const QSqlDatabase &db);

    // The same SELECT with the branch and the states written in as
    // literals, for a tool that takes no bound values.
    static QString withLiterals(const QString &branch);

    // Prepares and runs the query and reads every column of every row into
    // QVariants kept by this object (as a loaded list would keep them).
    // Returns the row count. Throws std::runtime_error on a database error.
    qsizetype run(const QString &branch);
    // Drops the rows of the last run (outside the measured time).
    void release() { m_rows.clear(); }

private:
    QSqlDatabase m_db;
    QList<QVariantList> m_rows;
};
