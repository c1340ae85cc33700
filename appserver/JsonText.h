#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// Writes JSON values straight into a buffer, for the answers too large to
// build as QJsonObject trees first (a branch's quote list runs to tens of
// megabytes). The output is byte for byte what QJsonDocument writes for the
// same value. None of these fail.
namespace JsonText {
// The text as a JSON string in UTF-8, escaping quotes, backslashes and
// control characters; a lone surrogate travels as QString::toUtf8 writes it.
void appendString(QByteArray &out, QStringView text);
// Whole numbers up to 2^53 without a fraction, the others in the shortest
// form that reads back to the same double; not-finite values as null.
void appendNumber(QByteArray &out, double value);
void appendInteger(QByteArray &out, qint64 value);
} // namespace JsonText
