#include "ExportDate.h"

#include <QDate>

#include <cmath>

namespace {

constexpr qint64 msecsPerDay = 24LL * 60 * 60 * 1000;
// The day counts that stand for a date, as the list's fields take them.
constexpr double maxAbsDays = 3'000'000.0;

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
    QDate(1899, 12, 30).addDays(days).getDate(&parts.year, &parts.month, &parts.day);
    parts.hasTime = msecs != 0;
    parts.hour = static_cast<int>(msecs / (60 * 60 * 1000));
    parts.minute = static_cast<int>(msecs / (60 * 1000) % 60);
    return parts;
}

} // namespace ExportDate
