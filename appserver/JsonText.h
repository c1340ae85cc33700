#pragma once

#include <QByteArray>
#include <QString>

// Writes JSON values straight into a buffer, for the answers too large to
// build as QJsonObject trees first (a branch's quote list runs to tens of
// megabytes). The output reads back exactly as QJsonDocument would write it.
namespace JsonText {
void appendString(QByteArray &out, const QString &text);
// Whole numbers up to 2^53 without a fraction, the others in the shortest
// form that reads back to the same double; not-finite values as null.
void appendNumber(QByteArray &out, double value);
} // namespace JsonText
