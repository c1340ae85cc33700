#include "HostMdi.h"

#include "AreaFit.h"
#include "HostGuard.h"
#include "ScreenLayout.h"
#include "THostForm.h"

#include <QApplication>
#include <QEvent>
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

// Maximising hides the window for a moment, and the toolkit would hand the
// focus held inside it to the next control: the screen would see a field
// left (a branch accepted, a filter opened) that the operator never left.
// Put down and taken up again, the focus raises no exit and no enter.
void maximize(QMdiSubWindow &window)
{
    const QPointer<QWidget> focused = QApplication::focusWidget();
    const bool inside = focused && window.isAncestorOf(focused);
    if (inside) {
        focused->clearFocus();
    }
    window.showMaximized();
    if (inside && focused) {
        focused->setFocus(Qt::OtherFocusReason);
    }
}

void activated(QMdiSubWindow *window)
{
    auto *form = window ? qobject_cast<THostForm *>(window->widget()) : nullptr;
    if (form) {
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
        window = new QMdiSubWindow;
        window->setWidget(form);
        // The screen decides in FormClose whether its window is freed.
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        area->addSubWindow(window);
    }
    form->show();
    if (firstShow) {
        window->show();
        if (designed.isValid()) {
            // The window's margins are its frame and title bar, known once shown.
            window->resize(designed.grownBy(window->contentsMargins()));
        }
        if (ScreenLayout::Restore(*form)) {
            maximize(*window);
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
