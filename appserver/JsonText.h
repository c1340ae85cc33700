#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Writes JSON values straight into a buffer, for the answers too large to
// build as QJsonObject trees first (a branch's quote list runs to tens of
// megabytes). The output is byte for byte what QJsonDocument writes for the
// same value.
namespace JsonText {
// The text as a JSON string in UTF-8, escaping quotes, backslashes and
// control characters; a lone surrogate travels as QString::toUtf8 writes it.
void appendString(QByteArray &out, QStringView text);
// Text already in UTF-8 (as SQLite keeps it) as the same JSON string
// appendString writes for its UTF-16 form, in one pass. Returns false,
// appending nothing, when the bytes are not well-formed UTF-8 or encode
// U+FFFE or U+FFFF (which SQLite hands over as U+FFFD in UTF-16): such text
// has to take the UTF-16 way for its answer to stay what it always was.
bool appendUtf8(QByteArray &out, QByteArrayView utf8);
// Whole numbers up to 2^53 without a fraction, the others in the shortest
// form that reads back to the same double; not-finite values as null.
void appendNumber(QByteArray &out, double value);
void appendInteger(QByteArray &out, qint64 value);
} // namespace JsonText
