#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

class QMdiSubWindow;
class QWidget;

// The host's enter and exit events of controls and containers (panels,
// pages), raised from QApplication::focusChanged.
//
// The focus is followed per form: a top-level window, or the screen inside a
// multi-document sub-window. Within a form, when the focus moves from A to B:
//   1. the exits of the watched widgets that hold A (A itself and its
//      containers) but not B run, innermost first;
//   2. then the enters of the watched widgets that hold B but not A run,
//      outermost first.
// The first focus a form receives raises only enters.
//
// Focus moving to another form (a message box, a modal dialog, another
// screen) or to nothing is not an exit: the form remembers where its focus
// was, and when the focus comes back the events are raised between that
// place and the new one (none when it is the same widget).
//
// Handlers run inside HostGuard: an abandon (Abort) stops silently, any other
// failure shows the error box. A handler that fails stops the remaining
// exits and enters of that move. Focus moves made by a handler raise no
// events of their own: the form's focus is then taken to be wherever the
// handlers left it, so an exit that abandons after putting the focus back
// into its own edit leaves the focus there without a new enter. Moves in
// other forms (say a dialog that a handler opens) are followed as usual.
//
// While the busy indicator (Showavi) is up, the operator moves nothing: the
// window system may still take the activation away and give it back, and the
// toolkit then hands the focus of a control hidden or disabled meanwhile to
// another one, often a screen's first field. Such moves raise nothing and are
// not recorded; when the wait ends, every window whose focus widget changed
// gets back the one it had, when that is still visible and enabled (raising
// nothing: the tracker still records it there). Otherwise nothing is forced,
// and the next move is taken from where the focus was before the wait.
class FocusEvents final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    // Watches a control or a container; either handler may be empty. Watching
    // a widget again replaces its handlers. The watch ends when the widget is
    // destroyed. Needs the application object to exist.
    static void watch(QWidget *controlOrContainer, Handler onEnter, Handler onExit);
    static void unwatch(QWidget *controlOrContainer);

    // Keeps a screen's place across a change of its document window's state
    // (maximised, restored, minimised), which the toolkit makes by hiding and
    // showing the window and handing the focus on in passing: while the hold
    // lives, moves raise nothing and are not recorded; at its end a window
    // that had the focus gives it back to the screen's control that had it,
    // when that is still visible and enabled.
    class Hold final {
    public:
        explicit Hold(QMdiSubWindow &window);
        ~Hold();
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        QPointer<QWidget> m_focus;
    };

private:
    struct Handlers {
        Handler onEnter;
        Handler onExit;
    };

    explicit FocusEvents(QObject *parent);
    ~FocusEvents() override;
    static FocusEvents &instance();
    static void busyChanged(bool busy);
    void putBack(QWidget *widget);

    void focusMoved(QWidget *old, QWidget *now);
    QList<QWidget *> watchedHolders(QWidget *widget, QWidget *form) const;
    bool runHandler(QWidget *widget, bool entering);

    QHash<QObject *, Handlers> m_watched;
    QHash<QObject *, QPointer<QWidget>> m_lastFocus; // by form
    QSet<QObject *> m_dispatching;                   // forms running handlers now
    QList<QPointer<QWidget>> m_beforeWait;           // each window's focus widget
    int m_holds = 0;
};
