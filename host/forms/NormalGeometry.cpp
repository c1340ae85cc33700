#include "NormalGeometry.h"

#include <QWindowStateChangeEvent>
#include <QMdiSubWindow>

namespace {

// Kept on the window itself, so that whoever holds the window can read it
// (not under "normalGeometry": the window's own property of that name is
// read-only and always empty for a window inside an area).
constexpr const char *normalKey = "hostNormalGeometry";

constexpr Qt::WindowStates notNormal = Qt::WindowMaximized | Qt::WindowMinimized;

class Follower final : public QObject {
public:
    explicit Follower(QMdiSubWindow &window)
        : QObject(&window)
        , m_window(window)
    {
        window.setProperty(normalKey, window.geometry());
        window.installEventFilter(this);
    }

protected:
    // Taken as the window leaves its normal state, before it changes its
    // geometry. Moves and resizes cannot tell: the area resizing a maximised
    // window clears its maximised state for the length of the resize, and
    // the window's own state overrides put it back.
    bool eventFilter(QObject * /*watched*/, QEvent *event) override
    {
        if (event->type() == QEvent::WindowStateChange) {
            const auto *change = static_cast<QWindowStateChangeEvent *>(event);
            if (!change->isOverride() && !(change->oldState() & notNormal) && (m_window.windowState() & notNormal)) {
                m_window.setProperty(normalKey, m_window.geometry());
            }
        }
        return false;
    }

private:
    QMdiSubWindow &m_window;
};

} // namespace

namespace NormalGeometry {

void follow(QMdiSubWindow &window)
{
    if (!window.property(normalKey).isValid()) {
        new Follower(window);
    }
}

QRect of(const QMdiSubWindow &window)
{
    const QVariant normal = window.property(normalKey);
    if (!(window.windowState() & notNormal) || !normal.isValid()) {
        return window.geometry();
    }
    return normal.toRect();
}

} // namespace NormalGeometry
