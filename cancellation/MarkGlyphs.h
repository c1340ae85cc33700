#pragma once

#include <QPixmap>

class QPainter;
class QRect;
class QBrush;

// The two check-box pictures of the quote grid's mark column: an empty box
// for a quote that can still be cancelled or postponed, a ticked box for one
// that already is. Both are 16 x 16 with an olive background that stands for
// "transparent", so the cell's own colour (the selection colour included)
// shows around the box.
namespace MarkGlyphs {

QPixmap Unchecked();
QPixmap Checked();

// The olive that the pictures treat as transparent.
QColor Transparent();

// Fills `cell` with `brush` and draws `glyph` at its left (one pixel in),
// from the cell's top, unscaled, with olive left out. An empty glyph only
// fills the cell.
void Paint(QPainter &painter, const QRect &cell, const QBrush &brush, const QPixmap &glyph);

} // namespace MarkGlyphs
