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
};
