#pragma once

#include <QString>

// One line per call on standard error: peer, method, duration, outcome.
// Safe to call from every connection thread at once, and never blocks a
// call: lines go through a bounded queue to a writer thread of their own,
// and when standard error stalls (a full pipe nobody reads) the lines that
// do not fit are dropped and counted; the count is written as soon as the
// writer gets through again.
namespace CallLog {
void write(const QString &peer, const QString &method, qint64 milliseconds, const QString &outcome);
// Any other line for the server's log (start, stop, refusals).
void note(const QString &text);
// Waits up to `milliseconds` for the queued lines to be written (at stop);
// false when standard error did not take them in time.
bool flush(int milliseconds);
} // namespace CallLog
