#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QKeyEvent;
class QWidget;

// Hands every key pressed inside a window (the window itself or any control
// in it) to the window's key handler before the focused control gets it.
// The handler may set the key to 0: the key is then consumed and goes no
// further. A key the focused control does not take travels up through its
// parents; the handler still sees it only once.
class KeyPreview final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int &key, Qt::KeyboardModifiers shift)>;

    // Watches the keys of `window` (which owns this object) for `handler`.
    KeyPreview(QWidget &window, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isFirstDelivery(const QKeyEvent *event, QWidget *receiver);

    QWidget &m_window;
    Handler m_handler;
    // The key being delivered, to tell its first receiver from the parents
    // it travels up to; forgotten at the next key release.
    const QKeyEvent *m_pending = nullptr;
    QPointer<QWidget> m_pendingReceiver;
};
