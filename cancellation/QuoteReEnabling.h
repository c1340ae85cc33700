#pragma once

#include "QuoteKey.h"

#include <QString>

#include <functional>

class QuoteServer;
class TMessages;

// Re-enabling a cancelled or postponed quote: the server gives it its
// earlier state back only when the quote's hall can take it again, and
// books the hall for it.
namespace QuoteReEnabling {

// The calls in their order. Returns once the quote is re-enabled, having
// told the operator (success, or what of the hall's calendar is not known
// done). A blocked hall, a refusal, or a write whose answer was lost and
// whose read-back does not show it stored runs `discard` and abandons:
// Abort after its own message, or std::runtime_error for the host's box.
void reEnable(QuoteServer &server, const QuoteKey &key, const QString &operatorCode,
               const TMessages &messages, const std::function<void()> &discard);

} // namespace QuoteReEnabling
