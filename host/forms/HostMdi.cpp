#include "HostMdi.h"

#include "AreaFit.h"
#include "FocusEvents.h"
#include "HostGuard.h"
#include "ScreenLayout.h"
#include "Showavi.h"
#include "THostForm.h"

#include <QEvent>
#include <QFocusEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include <stdexcept>

namespace {
QPointer<QMdiArea> area;
QMetaObject::Connection activation;

// Keeps the windows that are neither maximised nor minimised inside the area
// when it shrinks: the main window settling after a screen opened (a window
// manager maximising it gives part of it to its own title bar), or made
// smaller by the operator.
class AreaShrinkWatch final : public QObject {
public:
    explicit AreaShrinkWatch(QMdiArea &watched)
        : QObject(&watched)
        , m_area(watched)
    {
        watched.viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject * /*viewport*/, QEvent *event) override
    {
        if (event->type() == QEvent::Resize) {
            for (QMdiSubWindow *window : m_area.subWindowList()) {
                if (!(window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))) {
                    window->setGeometry(AreaFit::inside(window->geometry(), QSize(), m_area.viewport()->size()));
                }
            }
        }
        return false;
    }

private:
    QMdiArea &m_area;
};
QPointer<AreaShrinkWatch> shrinkWatch;

// A screen's document window. Maximising, restoring or minimising it (its
// title bar, its system menu, the host's window menu or the host itself)
// hides and shows it, and the toolkit hands the focus held inside it to
// another control in passing, often the screen's first field: the screen
// would see fields left and entered (a list closed, a filter opened) that the
// operator never touched. The focus stays where it was instead.
class ScreenWindow final : public QMdiSubWindow {
protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() != QEvent::WindowStateChange) {
            QMdiSubWindow::changeEvent(event);
            return;
        }
        const FocusEvents::Hold hold(*this);
        QMdiSubWindow::changeEvent(event);
    }

    // Activated again (a dialog over it closed, the application came back),
    // the window takes the focus only to pass it on, and would pass it to
    // its first field whenever the control it remembers was closed
    // meanwhile. The screen's own focus widget, where the operator or the
    // screen last put it, takes it instead.
    void focusInEvent(QFocusEvent *event) override
    {
        QWidget *screen = widget();
        QWidget *placed = screen ? screen->focusWidget() : nullptr;
        if (placed && placed != screen && placed->isVisible() && placed->isEnabled() && !isMinimized()) {
            placed->setFocus(event->reason());
            return;
        }
        QMdiSubWindow::focusInEvent(event);
    }
};

// The window the operator came to last. The area reports no window while
// the application is in the background and the same one again when it comes
// back: the screen was never left. An activation during a server call's wait
// is the window system's, not the operator's.
QPointer<QMdiSubWindow> activeScreen;

void activated(QMdiSubWindow *window)
{
    if (!window || window == activeScreen || Showavi::IsActive()) {
        return;
    }
    activeScreen = window;
    if (auto *form = qobject_cast<THostForm *>(window->widget())) {
        HostGuard::run([form] { form->FormActivate(); });
    }
}
} // namespace

namespace HostMdi {

void SetArea(QMdiArea *newArea)
{
    QObject::disconnect(activation);
    delete shrinkWatch;
    area = newArea;
    activeScreen = nullptr;
    if (newArea) {
        // Each screen keeps its own state when another is activated: the
        // area maximising and restoring windows as the operator goes from
        // one to the next would hide them for a moment and move their focus,
        // and a screen acts on its fields being entered and left.
        newArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
        activation = QObject::connect(newArea, &QMdiArea::subWindowActivated, newArea, &activated);
        shrinkWatch = new AreaShrinkWatch(*newArea);
    }
}

QMdiArea *Area()
{
    return area;
}

void ShowChild(THostForm *form)
{
    if (!form) {
        throw std::invalid_argument("HostMdi::ShowChild: no screen given");
    }
    if (!area) {
        throw std::logic_error("HostMdi::ShowChild: the client has no document area");
    }
    QMdiSubWindow *window = form->subWindow();
    QSize designed;
    const bool firstShow = !window;
    if (firstShow) {
        // The size the screen was designed with is the least it opens in,
        // never the least its controls would squeeze into.
        designed = form->testAttribute(Qt::WA_Resized) ? form->size() : QSize();
        window = new ScreenWindow;
        window->setWidget(form);
        // The screen decides in FormClose whether its window is freed.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        area->addSubWindow(window);
    } else if (window->isHidden()) {
        // Closed with caHide and opened again: the operator comes back to it.
        activeScreen = nullptr;
    }
    form->show();
    if (firstShow) {
        window->show();
        if (designed.isValid()) {
            // The window's margins are its frame and title bar, known once shown.
            window->resize(designed.grownBy(window->contentsMargins()));
        }
        if (ScreenLayout::Restore(*form)) {
            window->showMaximized();
        }
    } else if (window->isMinimized()) {
        window->showNormal();
    } else {
        // A maximised screen stays so: opening it again must not shrink it.
        window->show();
    }
    window->raise();
    area->setActiveSubWindow(window);
}

} // namespace HostMdi
