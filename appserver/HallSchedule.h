#pragma once

#include "DataPacket.h"
#include "NoticeSource.h"
#include "StoredQuote.h"

#include <QSqlDatabase>
#include <QString>

// The calendar of the event halls. A hall takes at most its daily limit of
// events, never two at the same day and hour, and nothing at all while no
// limit is set up. Every booking that is not released counts, whatever
// the state of its quote: only the release frees the hall.
class HallSchedule final {
public:
    explicit HallSchedule(const QSqlDatabase &db);

    // "OK" when the quote's hall can take it (or it books no hall), else
    // "N_LIMITE_DEF", "DTA_HRA_MARC" or "ACIMA_LIMITE", ":" and the hall
    // code. Throws std::runtime_error on a database failure.
    QString verify(const StoredQuote &quote) const;

    // The live bookings that keep the quote out of its hall: those at the
    // same day and hour when that is what blocks it, every booking of the
    // day when the hall is full; none when the hall is free or has no limit
    // set up (nothing booked is to blame then). Ordered by hour and quote.
    DataPacket blockers(const StoredQuote &quote) const;

    // Books the quote's hall with the schedule state ("R" reserved, "A"
    // approved), or re-labels its live booking. Must run inside a write
    // transaction; throws Refusal with the operator's message when the hall
    // cannot take the quote.
    void book(const StoredQuote &quote, const QString &scheduleState);
    // Frees the quote's hall booking (schedule state "C"); no booking, no-op.
    void release(const QuoteKey &key);
    // setAgendaSalao: in one transaction, releases ("C") or books ("A", "R")
    // the quote's hall. Each letter fits one kind of quote only (see
    // HallBooking::fits), so the calendar never says what the quote does
    // not. Throws Refusal (nothing written) for an unknown quote, a letter
    // that does not fit, or a hall that cannot take the booking. The change
    // is announced as one of "hall" made by `operatorCode`
    // (SqlTransaction::announce).
    void tell(const QuoteKey &key, const QString &letter, const NoticeSource &notices, const QString &operatorCode);

    // The operator's text for a blocking answer of verify().
    static QString messageFor(const QString &answer);

private:
    QSqlDatabase m_db;
};
