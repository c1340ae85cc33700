#include "KeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget &window, Handler handler)
    : QObject(&window)
    , m_window(window)
    , m_handler(std::move(handler))
{
    qApp->installEventFilter(this);
}

bool KeyPreview::isFirstDelivery(const QKeyEvent *event, QWidget *receiver)
{
    const bool travellingUp = event == m_pending && m_pendingReceiver
                              && receiver->isAncestorOf(m_pendingReceiver);
    m_pending = event;
    m_pendingReceiver = receiver;
    return !travellingUp;
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        m_pending = nullptr;
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    auto *receiver = static_cast<QWidget *>(watched);
    if (receiver != &m_window && !m_window.isAncestorOf(receiver)) {
        return false;
    }
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    if (!isFirstDelivery(keyEvent, receiver)) {
        return false;
    }
    int key = keyEvent->key();
    m_handler(key, keyEvent->modifiers());
    if (key == 0) {
        keyEvent->accept();
        return true;
    }
    return false;
}
