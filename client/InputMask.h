#pragma once

#include <QString>

namespace InputMask {
// Shows a raw value through an edit mask in the masked edit's syntax: the
// mask's literal characters are put between the value's characters
// ("999.999.999-99;_" and "12345678901" -> "123.456.789-01"), with the mask's
// case conversions (">" upper, "<" lower, "!" none) applied. A raw character
// that already is the literal of its place is taken as that literal, so
// formatted text is not formatted twice. The output stops where the raw value
// ends; raw characters beyond the mask are dropped, as in the masked edit.
// The empty mask returns `raw` unchanged.
QString format(const QString &mask, const QString &raw);
} // namespace InputMask
