#pragma once

#include <optional>

// A date-time of the list (a day count) in the parts the grid shows when the
// field has no display format: the date, and the hour and minute only when
// the time of day is not midnight. Worked out from the count itself, with
// the grid's rounding to the millisecond: the grid's own way goes through a
// local-time QDateTime, which costs microseconds a value, and an export of
// a long list has hundreds of thousands of them.
namespace ExportDate {

struct Parts {
    int year = 0;
    int month = 0;
    int day = 0;
    bool hasTime = false;
    int hour = 0;
    int minute = 0;
};

// Empty for the empty date (0) and for counts no date can stand for.
std::optional<Parts> parts(double dayCount);

} // namespace ExportDate
