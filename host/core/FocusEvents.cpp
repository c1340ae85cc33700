#include "FocusEvents.h"

#include "HostGuard.h"
#include "Showavi.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QWidget>

#include <utility>

namespace {

// The form a widget belongs to: the screen inside a multi-document
// sub-window, otherwise its top-level window.
QWidget *formOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (w->isWindow()) {
            return w;
        }
        if (qobject_cast<QMdiSubWindow *>(w->parentWidget())) {
            return w;
        }
    }
    return nullptr;
}

} // namespace

FocusEvents::FocusEvents(QObject *parent)
    : QObject(parent)
{
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *old, QWidget *now) { focusMoved(old, now); });
    Showavi::SetOutermostHook(&FocusEvents::busyChanged);
}

FocusEvents::~FocusEvents()
{
    Showavi::SetOutermostHook(nullptr);
}

FocusEvents &FocusEvents::instance()
{
    static QPointer<FocusEvents> tracker;
    if (!tracker) {
        tracker = new FocusEvents(qApp);
    }
    return *tracker;
}

void FocusEvents::watch(QWidget *controlOrContainer, Handler onEnter, Handler onExit)
{
    if (!controlOrContainer) {
        return;
    }
    FocusEvents &tracker = instance();
    if (!tracker.m_watched.contains(controlOrContainer)) {
        connect(controlOrContainer, &QObject::destroyed, &tracker,
                [&tracker](QObject *gone) { tracker.m_watched.remove(gone); });
    }
    tracker.m_watched.insert(controlOrContainer, {std::move(onEnter), std::move(onExit)});
}

void FocusEvents::unwatch(QWidget *controlOrContainer)
{
    FocusEvents &tracker = instance();
    tracker.m_watched.remove(controlOrContainer);
    disconnect(controlOrContainer, &QObject::destroyed, &tracker, nullptr);
}

void FocusEvents::busyChanged(bool busy)
{
    FocusEvents &tracker = instance();
    if (busy) {
        tracker.m_beforeWait.clear();
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->focusWidget()) {
                tracker.m_beforeWait.append(window->focusWidget());
            }
        }
        return;
    }
    for (const QPointer<QWidget> &widget : std::exchange(tracker.m_beforeWait, {})) {
        tracker.putBack(widget);
    }
}

// In a window that is not the active one this only sets the control that
// takes the focus when the window is active again.
void FocusEvents::putBack(QWidget *widget)
{
    if (!widget || !widget->isVisible() || !widget->isEnabled() || widget->window()->focusWidget() == widget) {
        return;
    }
    ++m_holds;
    widget->setFocus(Qt::OtherFocusReason);
    --m_holds;
}

FocusEvents::Hold::Hold(QMdiSubWindow &window)
{
    FocusEvents &tracker = instance();
    ++tracker.m_holds;
    // A minimised window holds the focus itself; the screen's place is then
    // the last one recorded in it.
    QWidget *had = window.window()->focusWidget();
    if (window.isAncestorOf(had)) {
        m_focus = had;
    } else if (had == &window) {
        m_focus = tracker.m_lastFocus.value(window.widget());
    }
}

FocusEvents::Hold::~Hold()
{
    FocusEvents &tracker = instance();
    tracker.putBack(m_focus);
    --tracker.m_holds;
}

QList<QWidget *> FocusEvents::watchedHolders(QWidget *widget, QWidget *form) const
{
    QList<QWidget *> holders; // innermost first
    for (QWidget *w = widget; w; w = w->parentWidget()) {
        if (m_watched.contains(w)) {
            holders.append(w);
        }
        if (w == form) {
            break;
        }
    }
    return holders;
}

bool FocusEvents::runHandler(QWidget *widget, bool entering)
{
    const auto found = m_watched.constFind(widget);
    if (found == m_watched.constEnd()) {
        return true; // unwatched (or destroyed) by an earlier handler
    }
    const Handler handler = entering ? found->onEnter : found->onExit;
    if (!handler) {
        return true;
    }
    return HostGuard::run(handler);
}

void FocusEvents::focusMoved(QWidget *old, QWidget *now)
{
    QWidget *form = formOf(now);
    if (!form || m_dispatching.contains(form) || m_holds > 0 || Showavi::IsActive()) {
        return;
    }
    if (!m_lastFocus.contains(form)) {
        connect(form, &QObject::destroyed, this,
                [this](QObject *gone) { m_lastFocus.remove(gone); });
        // A form that had the focus before anything was watched: the move
        // starts where the toolkit says it was.
        if (old && formOf(old) == form) {
            m_lastFocus.insert(form, old);
        }
    }
    QPointer<QWidget> &last = m_lastFocus[form];
    QWidget *before = last.data();
    if (before == now) {
        return;
    }
    last = now;

    const QList<QWidget *> left = watchedHolders(before, form);
    const QList<QWidget *> reached = watchedHolders(now, form);
    QList<QPointer<QWidget>> exits;
    for (QWidget *w : left) {
        if (!reached.contains(w)) {
            exits.append(w);
        }
    }
    QList<QPointer<QWidget>> enters;
    for (auto it = reached.crbegin(); it != reached.crend(); ++it) {
        if (!left.contains(*it)) {
            enters.append(*it);
        }
    }
    if (exits.isEmpty() && enters.isEmpty()) {
        return;
    }

    QPointer<QWidget> guardForm(form);
    m_dispatching.insert(form);
    bool going = true;
    for (const QPointer<QWidget> &w : std::as_const(exits)) {
        if (going && w) {
            going = runHandler(w, false);
        }
    }
    for (const QPointer<QWidget> &w : std::as_const(enters)) {
        if (going && w) {
            going = runHandler(w, true);
        }
    }
    m_dispatching.remove(form);
    if (!guardForm) {
        return;
    }
    // The handlers may have moved the focus; from here on the form's focus
    // is wherever they left it.
    QWidget *settled = QApplication::focusWidget();
    if (settled && formOf(settled) == form) {
        m_lastFocus[form] = settled;
    }
}
