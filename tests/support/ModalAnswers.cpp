#include "ModalAnswers.h"

#include <QApplication>

ModalAnswers::ModalAnswers()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswers::poll);
    m_timer.start(20);
}

void ModalAnswers::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == m_answered || m_steps.isEmpty()) {
        return;
    }
    // Keys go to the focused control: wait until the window has the keyboard.
    QWidget *focused = QApplication::focusWidget();
    if (QApplication::activeWindow() != modal || !focused || focused->window() != modal) {
        return;
    }
    m_answered = modal;
    m_steps.dequeue()(*modal);
}
