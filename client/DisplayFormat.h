#pragma once

#include <QLocale>
#include <QString>

// Number and date rendering as the operator reads it: Brazilian separators
// ("1.234,50") whatever the machine's own locale is.
namespace DisplayFormat {
QLocale brazilian();

// Renders `value` with a numeric picture such as "#,##0.00", "0.000", "#,##0"
// or "R$ #,##0.00": '0' is a digit always shown, '#' a digit shown only when
// significant, ',' asks for thousands grouping, '.' marks the decimals; text
// before and after the picture is kept. A value that rounds to zero shows no
// sign. An empty pattern gives the shortest exact text ("1234,5").
QString formatNumber(double value, const QString &pattern);

// "dd/MM/yyyy", followed by " hh:mm" when the time of day is not midnight;
// a non-empty `pattern` is a QDateTime format instead. Empty for day count 0.
QString formatDateTime(double dayCount, const QString &pattern);
} // namespace DisplayFormat
