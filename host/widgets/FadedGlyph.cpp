#include "FadedGlyph.h"

#include <QIconEngine>
#include <QImage>
#include <QPainter>

namespace {

// How much of a disabled glyph shows over the button's face.
constexpr int fadedAlphaPercent = 30;

QPixmap faded(const QPixmap &picture)
{
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]) * fadedAlphaPercent / 100);
        }
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(picture.devicePixelRatio());
    return result;
}

class FadedEngine final : public QIconEngine {
public:
    explicit FadedEngine(const QIcon &glyph)
        : m_glyph(glyph)
    {
    }

    // Sizes arrive in device pixels: the glyph is asked at ratio 1 so that
    // a high-density screen does not scale it twice.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        if (mode == QIcon::Disabled) {
            return faded(m_glyph.pixmap(size, 1.0, QIcon::Normal, state));
        }
        return m_glyph.pixmap(size, 1.0, mode, state);
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, picture);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_glyph.actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State state) override
    {
        return m_glyph.availableSizes(QIcon::Normal, state);
    }

    QIconEngine *clone() const override { return new FadedEngine(m_glyph); }

private:
    QIcon m_glyph;
};

} // namespace

QIcon FadedGlyph(const QIcon &glyph)
{
    if (glyph.isNull()) {
        return glyph;
    }
    return QIcon(new FadedEngine(glyph));
}
