#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a clean stop of the event loop: the signal
// handler only writes a byte to a pipe, the loop reads it and quits.
class ShutdownSignals final : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject *parent = nullptr); // throws std::runtime_error if the pipe cannot be made

signals:
    void requested();

private:
    QSocketNotifier *m_notifier = nullptr;
};
