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

inline bool isLetter(const QString &letter)
{
    return letter == Released || letter == Booked || letter == Reserved;
}

// The letter that books the hall of a quote back in `state`: approved quotes
// hold it, pending ones reserve it; empty for any other state.
inline QString forState(const QString &state)
{
    return state == QuoteState::Approved ? Booked : state == QuoteState::Pending ? Reserved : QString();
}

// Whether the calendar may be told `letter` for a quote in `state`: a
// release only for a withdrawn quote, a booking only in its own state.
inline bool fits(const QString &letter, const QString &state)
{
    return letter == Released ? QuoteState::isWithdrawn(state) : !letter.isEmpty() && letter == forState(state);
}

} // namespace HallBooking
