#include "ControlKeyDown.h"

#include "HostGuard.h"

#include <QKeyEvent>
#include <QWidget>

void ControlKeyDown::watch(QWidget *control, Handler handler)
{
    control->installEventFilter(new ControlKeyDown(control, std::move(handler)));
}

ControlKeyDown::ControlKeyDown(QWidget *control, Handler handler)
    : QObject(control)
    , m_handler(std::move(handler))
{
}

bool ControlKeyDown::eventFilter(QObject * /*watched*/, QEvent *event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    int key = keyEvent->key();
    if (!HostGuard::run([&] { m_handler(key, keyEvent->modifiers()); })) {
        key = 0;
    }
    if (key == 0) {
        keyEvent->accept();
        return true;
    }
    return false;
}
