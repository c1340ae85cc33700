#pragma once

#include <QString>

class RecordList;

// One version of a quote: branch, number and sequence.
struct QuoteKey {
    QString branch, number, sequence;

    // The current quote of `list`.
    static QuoteKey current(const RecordList &list);
    // "number (seq. sequence)", as the operator reads it.
    QString forOperator() const
    {
        return QStringLiteral("%1 (seq. %2)").arg(number, sequence);
    }
    bool operator==(const QuoteKey &) const = default;
};
