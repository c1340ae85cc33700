#pragma once

#include <QDate>
#include <QDateTime>

// Date-times travel and live in memory as a day count: days since 1899-12-30
// with the time of day as the fraction (0.5 = noon), local clock time.
// 0 is the empty date, which maps to an invalid QDate/QDateTime and back.
// Before the base day the whole part counts backwards and the fraction still
// adds the time of day (-1.25 = 1899-12-29 06:00), as the legacy data does.
namespace DayCount {
// 0 for an invalid date.
double fromDate(const QDate &date);
// 0 for an invalid date-time; the fraction is the local time of day.
double fromDateTime(const QDateTime &dateTime);
// An invalid QDate for 0 and for values that are not finite or out of range.
QDate toDate(double dayCount);
// An invalid QDateTime for 0 and for values that are not finite or out of range.
QDateTime toDateTime(double dayCount);
} // namespace DayCount
