#pragma once

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QTimer>
#include <QWidget>

#include <functional>

// The real modal windows a test opens (message boxes, the filter dialog),
// answered the way an operator would, by keyboard: each time a new modal
// window is the active one and has a focused control, the next queued step
// runs on it. A step should
// end by closing its window (a key such as Enter or Esc).
class ModalAnswers final : public QObject {
    Q_OBJECT
public:
    using Step = std::function<void(QWidget &modal)>;

    ModalAnswers();

    void then(const Step &step) { m_steps.enqueue(step); }
    bool allUsed() const { return m_steps.isEmpty(); }

private:
    void poll();

    QTimer m_timer;
    QQueue<Step> m_steps;
    QPointer<QWidget> m_answered;
};
