#pragma once

#include <QString>

// The states of a quote (IDSITUORCEVE), as client and server store them.
namespace QuoteState {

inline const QString Pending = QStringLiteral("1");
inline const QString Approved = QStringLiteral("2");
inline const QString Cancelled = QStringLiteral("8");
inline const QString Postponed = QStringLiteral("9");

// Pending or approved: the quote may still be cancelled or postponed.
inline bool isOpen(const QString &state)
{
    return state == Pending || state == Approved;
}

// Cancelled or postponed: the quote may only be re-enabled.
inline bool isWithdrawn(const QString &state)
{
    return state == Cancelled || state == Postponed;
}

} // namespace QuoteState

// What the hall calendar is told about a quote's booking (setAgendaSalao).
namespace HallBooking {

inline const QString Released = QStringLiteral("C"); // cancelled or postponed
inline const QString Booked = QStringLiteral("A");   // approved again
inline const QString Reserved = QStringLiteral("R"); // pending again

} // namespace HallBooking
