#pragma once

#include <QIcon>

// The picture of a tool button as it should look: itself while the button
// can be used, faint and grey while it cannot. The style's own disabled
// picture only turns black lines dark grey, so a black-and-white glyph (the
// print button's list) looked nearly as pressable disabled as enabled.
// Every size and state of `glyph` is kept; only the disabled look changes.
QIcon FadedGlyph(const QIcon &glyph);
