#include "DayCount.h"

#include <cmath>

namespace {

constexpr qint64 msecsPerDay = 24LL * 60 * 60 * 1000;
// Far beyond any business date, small enough to keep QDate arithmetic exact.
constexpr double maxAbsDays = 3'000'000.0;

QDate baseDate()
{
    return QDate(1899, 12, 30);
}

bool usable(double dayCount)
{
    return std::isfinite(dayCount) && dayCount != 0.0 && std::fabs(dayCount) < maxAbsDays;
}

} // namespace

namespace DayCount {

double fromDate(const QDate &date)
{
    if (!date.isValid()) {
        return 0.0;
    }
    return static_cast<double>(baseDate().daysTo(date));
}

double fromDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid()) {
        return 0.0;
    }
    const QDateTime local = dateTime.toLocalTime();
    const double days = fromDate(local.date());
    const double fraction = static_cast<double>(local.time().msecsSinceStartOfDay()) / msecsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

QDate toDate(double dayCount)
{
    if (!usable(dayCount)) {
        return {};
    }
    return baseDate().addDays(static_cast<qint64>(std::trunc(dayCount)));
}

QDateTime toDateTime(double dayCount)
{
    if (!usable(dayCount)) {
        return {};
    }
    qint64 days = static_cast<qint64>(std::trunc(dayCount));
    qint64 msecs = std::llround(std::fabs(dayCount - static_cast<double>(days)) * msecsPerDay);
    if (msecs >= msecsPerDay) {
        // Rounding reached midnight: it is the start of the following day.
        msecs -= msecsPerDay;
        ++days;
    }
    return QDateTime(baseDate().addDays(days), QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)));
}

} // namespace DayCount
