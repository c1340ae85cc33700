#pragma once

#include "DataPacket.h"

#include <QString>
#include <QVariant>

// Conversions between a field's stored value (see DataPacket.h for the kinds)
// and what code and operators hand to it. Every function that can fail
// throws std::runtime_error with a Portuguese message that does not yet name
// the field; the caller adds the field's name.
namespace FieldText {
// The value in the stored kind of `type`. Text "" is kept as an empty text
// (not the empty value) for text and blob; for numbers and dates an empty or
// blank text is the empty value. QDate/QDateTime become day counts.
QVariant coerce(const QVariant &value, FieldType type);

// The text offered for editing and returned by asString: numbers with the
// Brazilian decimal comma and no grouping, date-times "dd/MM/yyyy" plus
// " hh:mm:ss" when there is a time of day, blobs read as UTF-8; empty for the
// empty value.
QString editText(const QVariant &value, FieldType type);

// The text shown in grids: `format` applied to numbers and date-times (see
// DisplayFormat), text and blobs as they are.
QString displayText(const QVariant &value, FieldType type, const QString &format);

// Reads operator text: "1.234,5", "1234,5" and "1234.5" are numbers,
// "dd/MM/yyyy[ hh:mm[:ss]]" a date; a date without any digit ("  /  /    ")
// is the empty value.
QVariant parse(const QString &text, FieldType type);

// The value as a number (0 for the empty value); text is parsed.
double toNumber(const QVariant &value, FieldType type);
} // namespace FieldText
