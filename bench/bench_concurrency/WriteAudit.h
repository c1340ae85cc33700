#pragma once

#include <QSqlDatabase>
#include <QStringList>

// Reads the business database directly, to prove afterwards that every
// cancellation the server accepted is stored exactly once and nothing else
// was written. Keys are "F/N-S". Every method throws std::runtime_error on a
// database error.
class WriteAudit final {
public:
    struct Counts {
        qint64 cancelledQuotes = 0; // quotes in state "8"
        qint64 historyRows = 0;     // rows of the state history
    };

    explicit WriteAudit(const QSqlDatabase &db);

    Counts counts() const;
    // One key per history row that moved a quote to "8" under an operator
    // code starting with `operatorPrefix`.
    QStringList historyKeys(const QString &operatorPrefix) const;
    // The quotes now in state "8" whose cancelling operator starts with
    // `operatorPrefix`.
    QStringList cancelledQuoteKeys(const QString &operatorPrefix) const;

private:
    qint64 count(const QString &statement, const QVariantList &values = {}) const;
    // The keys of the cancelled quotes `statement` finds for the operators
    // whose code starts with `operatorPrefix`.
    QStringList keys(const QString &statement, const QString &operatorPrefix) const;

    QSqlDatabase m_db;
};
