#include "MarkGlyphs.h"

#include <QBitmap>
#include <QImage>
#include <QPainter>

namespace {

constexpr int glyphSize = 16;
constexpr int boxLeft = 3;
constexpr int boxTop = 3;
constexpr int boxSize = 9;

QImage frame()
{
    QImage image(glyphSize, glyphSize, QImage::Format_RGB32);
    image.fill(MarkGlyphs::Transparent());
    const int right = boxLeft + boxSize - 1;
    const int bottom = boxTop + boxSize - 1;
    for (int y = boxTop; y <= bottom; ++y) {
        for (int x = boxLeft; x <= right; ++x) {
            const bool edge = x == boxLeft || y == boxTop;
            image.setPixel(x, y, edge ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
        }
    }
    // The shadow stands one olive pixel away from the box.
    const int shadow = right + 2;
    for (int step = boxTop; step <= shadow; ++step) {
        image.setPixel(shadow, step, qRgb(192, 192, 192));
        image.setPixel(step, shadow, qRgb(192, 192, 192));
    }
    return image;
}

QPixmap transparentOlive(const QImage &image)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(MarkGlyphs::Transparent(), Qt::MaskInColor));
    return pixmap;
}

} // namespace

namespace MarkGlyphs {

QColor Transparent()
{
    return QColor(128, 128, 0);
}

QPixmap Unchecked()
{
    return transparentOlive(frame());
}

QPixmap Checked()
{
    QImage image = frame();
    // A short stroke down to a low point left of centre, then a long one up
    // to the box's upper right corner, two pixels thick.
    const QPoint low(boxLeft + 3, boxTop + 6);
    const QPoint start(boxLeft + 1, boxTop + 3);
    const QPoint corner(boxLeft + boxSize - 2, boxTop + 1);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(Qt::black, 1));
    for (int thickness = 0; thickness < 2; ++thickness) {
        const QPoint down(0, thickness);
        painter.drawLine(start + down, low + down);
        painter.drawLine(low + down, corner + down);
    }
    painter.end();
    return transparentOlive(image);
}

void Paint(QPainter &painter, const QRect &cell, const QBrush &brush, const QPixmap &glyph)
{
    painter.fillRect(cell, brush);
    if (glyph.isNull()) {
        return;
    }
    const int height = qMin(cell.height(), glyph.height());
    painter.drawPixmap(QRect(cell.left() + 1, cell.top(), glyph.width(), height), glyph,
                       QRect(0, 0, glyph.width(), height));
}

} // namespace MarkGlyphs
