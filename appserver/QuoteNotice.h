#pragma once

#include "QuoteKey.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A change notice: one quote's state, reason, justification or hall
// booking changed. It travels between servers as the payload of a
// PostgreSQL notification on `channel`, and reaches the clients as the
// "quoteChanged" notification of docs/protocol.md.
struct QuoteNotice {
    static constexpr const char *channel = "quote_changed";

    QuoteKey key;
    QString what; // "state", "justification" or "hall"
    QString state;
    QString reason; // empty when the quote has none
    QString operatorCode;
    // The connection that made the change, which is not told of it: a
    // server's own id and the connection's number there.
    QString origin;

    // The JSON object of the payload, origin included.
    QByteArray toPayload() const;
    // Empty for a payload that is not a notice.
    static std::optional<QuoteNotice> fromPayload(const QByteArray &payload);
    // The notification line a client reads, origin left out, with its newline.
    QByteArray clientLine() const;
};
