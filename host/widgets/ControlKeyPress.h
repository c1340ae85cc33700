#pragma once

#include <QChar>
#include <QObject>

#include <functional>

class QWidget;

// A control's own character handler (its KeyPress): it sees each character
// typed while the control has the focus, before the control takes it.
// Setting the character to 0 drops it. Only printable characters and
// Backspace (8) reach it: keys that type nothing (arrows, function keys) and
// Ctrl combinations (select all, copy, paste) go on untouched. The handler
// runs inside the host guard; a character whose handler fails is dropped.
class ControlKeyPress final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QChar &key)>;

    // Gives `control` (which owns the watch) its character handler.
    static void watch(QWidget *control, Handler handler);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ControlKeyPress(QWidget *control, Handler handler);

    Handler m_handler;
};
