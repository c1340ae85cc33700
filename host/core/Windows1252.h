#pragma once

#include <QByteArray>
#include <QString>

// The 8-bit code page the business data was first keyed in. Where codes are
// compared character by character (quote numbers typed by the operator), the
// order is that of these 8-bit codes, not of Unicode.
namespace Windows1252 {

// The text in the code page; a character the code page lacks becomes "?".
QByteArray encode(const QString &text);

// Negative, zero or positive as `a` sorts before, with or after `b`, byte by
// byte on the 8-bit codes, a text sorting first when it begins the other.
int compare(const QString &a, const QString &b);

} // namespace Windows1252
