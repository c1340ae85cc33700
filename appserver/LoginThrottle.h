#pragma once

#include <QString>

// Slows password guessing, for the whole server process. Every refused
// password counts against the address it came from and the operator it
// named; a right one forgets both. What is counted is forgotten an hour
// after its last failure.
// - An address: three failures are free; after that its next attempt waits
//   1 s after the last failure, then 2, 4, ... up to 60 s (about 1,450
//   guesses a day from one address).
// - An operator with three failures or more: attempts at it from addresses
//   that have failed before are spaced 10 s apart (8,640 a day at most,
//   whatever the number of addresses, plus one first try from each address
//   never seen failing). An address that never failed is never held up by
//   someone else's guessing of the same operator.
// An attempt that comes too soon is refused at once, without checking its
// password, and is not counted.
namespace LoginThrottle {
// Empty when an attempt from `address` at `operatorCode` may have its
// password checked now; otherwise the operator's message saying how long
// to wait.
QString admit(const QString &address, const QString &operatorCode);
void failed(const QString &address, const QString &operatorCode);
void succeeded(const QString &address, const QString &operatorCode);
} // namespace LoginThrottle
