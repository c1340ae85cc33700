#pragma once

#include "QuoteKey.h"

#include <QString>

#include <optional>

class QuoteServer;

// A quote as the server holds it now, read back after a call whose answer
// was lost: what it stores decides what the operator is told.
struct StoredQuote {
    QString state, reason, operatorCode;
    // The justification of a cancelled or postponed quote; none when it has none.
    std::optional<QString> justification;
};

namespace ReadBack {

// The quote in any state; none when the server does not list it (which
// tells nothing: the caller cannot say what was stored). Failures of the
// call go on to the caller.
std::optional<StoredQuote> quote(QuoteServer &server, const QuoteKey &key);
// The quote's justification, as `quote` fills it.
std::optional<QString> justification(QuoteServer &server, const QuoteKey &key);

} // namespace ReadBack
