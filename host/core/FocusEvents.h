#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <functional>

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
class FocusEvents final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    // Watches a control or a container; either handler may be empty. Watching
    // a widget again replaces its handlers. The watch ends when the widget is
    // destroyed. Needs the application object to exist.
    static void watch(QWidget *controlOrContainer, Handler onEnter, Handler onExit);
    static void unwatch(QWidget *controlOrContainer);

private:
    struct Handlers {
        Handler onEnter;
        Handler onExit;
    };

    explicit FocusEvents(QObject *parent);
    static FocusEvents &instance();

    void focusMoved(QWidget *old, QWidget *now);
    QList<QWidget *> watchedHolders(QWidget *widget, QWidget *form) const;
    bool runHandler(QWidget *widget, bool entering);

    QHash<QObject *, Handlers> m_watched;
    QHash<QObject *, QPointer<QWidget>> m_lastFocus; // by form
    QSet<QObject *> m_dispatching;                   // forms running handlers now
};
