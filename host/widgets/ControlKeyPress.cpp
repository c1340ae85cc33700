#include "ControlKeyPress.h"

#include "HostGuard.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

constexpr char16_t backspace = 8;

bool typesCharacter(const QKeyEvent &event)
{
    if (event.text().size() != 1 || event.modifiers().testAnyFlags(Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const QChar typed = event.text().at(0);
    return typed.isPrint() || typed == QChar(backspace);
}

} // namespace

void ControlKeyPress::watch(QWidget *control, Handler handler)
{
    control->installEventFilter(new ControlKeyPress(control, std::move(handler)));
}

ControlKeyPress::ControlKeyPress(QWidget *control, Handler handler)
    : QObject(control)
    , m_handler(std::move(handler))
{
}

bool ControlKeyPress::eventFilter(QObject * /*watched*/, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !typesCharacter(*static_cast<QKeyEvent *>(event))) {
        return false;
    }
    QChar key = static_cast<QKeyEvent *>(event)->text().at(0);
    if (!HostGuard::run([&] { m_handler(key); })) {
        key = QChar(0);
    }
    if (key.isNull()) {
        event->accept();
        return true;
    }
    return false;
}
