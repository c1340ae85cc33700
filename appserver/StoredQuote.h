#pragma once

#include "QuoteKey.h"

#include <QSqlDatabase>

#include <optional>

// What the state and hall rules need to know about one stored quote.
struct StoredQuote {
    QuoteKey key;
    QString state;
    QString previousState;
    QString hall;      // empty when the quote books no hall
    double eventDay = 0;  // whole day count of the event, 0 when unknown
    QString eventHour; // "HH:MM"

    // Empty when no such quote exists. Throws std::runtime_error on a
    // database failure.
    static std::optional<StoredQuote> load(const QSqlDatabase &db, const QuoteKey &key);
    // The same for a write that depends on what it reads, inside its
    // transaction: on PostgreSQL the quote's row stays locked until the
    // transaction ends, so no other writer changes the quote's state
    // between this read and the write (on SQLite the write lock taken at
    // BEGIN IMMEDIATE already keeps every other writer out).
    static std::optional<StoredQuote> lock(const QSqlDatabase &db, const QuoteKey &key);
};
