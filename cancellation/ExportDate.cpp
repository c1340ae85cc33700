#include "ExportDate.h"

#include <QtGlobal>

#include <cmath>

namespace {

constexpr qint64 msecsPerDay = 24LL * 60 * 60 * 1000;
// The day counts that stand for a date, as the list's fields take them.
constexpr double maxAbsDays = 3'000'000.0;
// Day 0 of the counts, 1899-12-30, in days after 0000-03-01 of the
// proleptic Gregorian calendar, where leap days fall at a cycle's end.
constexpr qint64 baseFromMarch0 = 693'899;

// The civil date of a count, in integer arithmetic: QDate's own conversion
// is the largest cost of a long export's dates.
void civilDate(qint64 days, ExportDate::Parts &parts)
{
    const qint64 z = days + baseFromMarch0;
    const qint64 era = (z >= 0 ? z : z - 146'096) / 146'097;
    const qint64 dayOfEra = z - era * 146'097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1'460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthFromMarch = (5 * dayOfYear + 2) / 153;
    parts.day = int(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    parts.month = int(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    qint64 year = yearOfEra + era * 400 + (parts.month <= 2 ? 1 : 0);
    // As QDate counts them: no year 0, 1 BC being -1.
    parts.year = int(year <= 0 ? year - 1 : year);
}

} // namespace

namespace ExportDate {

std::optional<Parts> parts(double dayCount)
{
    if (!std::isfinite(dayCount) || dayCount == 0.0 || std::fabs(dayCount) >= maxAbsDays) {
        return std::nullopt;
    }
    // As DayCount does: the integer counts the days (backwards before the
    // base day) and the fraction is the time of day either way.
    qint64 days = static_cast<qint64>(std::trunc(dayCount));
    qint64 msecs = std::llround(std::fabs(dayCount - static_cast<double>(days)) * msecsPerDay);
    if (msecs >= msecsPerDay) {
        msecs -= msecsPerDay;
        ++days;
    }
    Parts parts;
    civilDate(days, parts);
    parts.hasTime = msecs != 0;
    parts.hour = static_cast<int>(msecs / (60 * 60 * 1000));
    parts.minute = static_cast<int>(msecs / (60 * 1000) % 60);
    return parts;
}

} // namespace ExportDate
