#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// The listing's own SELECT run straight through QtSql on the server's
// SQLite file: the floor that a listing through the server is measured
// against. The statement and its bound values are the ones appserver's
// QuoteReader builds for the default filter (branch, states "1" and "2").
class BareQuoteQuery final {
public:
    // Opens `file` read-only. Throws std::runtime_error when it cannot.
    explicit BareQuoteQuery(const QString &file);
    ~BareQuoteQuery();

    BareQuoteQuery(const BareQuoteQuery &) = delete;
    BareQuoteQuery &operator=(const BareQuoteQuery &) = delete;

    // Prepares and runs the query and reads every column of every row into
    // QVariants kept by this object (as a loaded list would keep them).
    // Returns the row count. Throws std::runtime_error on a database error.
    qsizetype run(const QString &branch);
    // Drops the rows of the last run (outside the measured time).
    void release() { m_rows.clear(); }

private:
    QString m_connectionName;
    QSqlDatabase m_db;
    QList<QVariantList> m_rows;
};
