#pragma once

#include <QObject>

#include <functional>

class QWidget;

// A control's own key handler (its KeyDown), for controls that have none of
// their own: it sees each key pressed while the control has the focus, after
// the window's key preview and before the control acts on the key. Setting
// the key to 0 consumes it. The handler runs inside the host guard: an abort
// is silent, another failure is shown in the error box, and the key is
// consumed either way.
class ControlKeyDown final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int &key, Qt::KeyboardModifiers shift)>;

    // Gives `control` (which owns the watch) its key handler.
    static void watch(QWidget *control, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ControlKeyDown(QWidget *control, Handler handler);

    Handler m_handler;
};
