#pragma once

#include <QString>

// One line per call on standard error: peer, method, duration, outcome.
// Safe to call from every connection thread at once.
namespace CallLog {
void write(const QString &peer, const QString &method, qint64 milliseconds, const QString &outcome);
} // namespace CallLog
