#pragma once

#include "AnswerStream.h"
#include "DataPacket.h"
#include "QuoteFilter.h"
#include "QuoteKey.h"

#include <QSqlDatabase>

// The read side of the cancellation screen. Every value reaches SQL as a
// bound parameter. All methods throw std::runtime_error on a database
// failure.
class QuoteReader final {
public:
    explicit QuoteReader(const QSqlDatabase &db);

    // The quotes of one branch that pass the filter, ordered by number and
    // sequence, in the quote list's field order.
    DataPacket quotes(const QString &branch, const QuoteListing &filter) const;
    // The same packet as JSON text written into `out` as the query steps, so
    // that it leaves in chunks (a branch's list runs to tens of megabytes);
    // stepped straight through SQLite, or taken from libpq while PostgreSQL
    // still sends the rest. Returns the row count.
    qsizetype writeQuotes(const QString &branch, const QuoteListing &filter, AnswerStream &out) const;
    // The items of one quote version in item order (empty for no quote).
    DataPacket items(const QuoteKey &key) const;
    // The stored justification of one quote version: zero or one row.
    DataPacket justification(const QuoteKey &key) const;
    // One reason, or every reason in code order when `all` is "T".
    DataPacket reasons(const QString &code, const QString &all) const;
    // The quote parameters: one row.
    DataPacket parameters() const;

private:
    struct Statement {
        QString text;
        QVariantList values;
    };
    Statement quotesStatement(const QString &branch, const QuoteListing &filter) const;

    QSqlDatabase m_db;
};
