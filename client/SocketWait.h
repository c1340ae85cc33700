#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <functional>

class QTcpSocket;

// The waits of one exchange with the server on a socket used without an
// event loop: sending the request, then each piece of the answer. Every wait
// ends at the exchange's deadline or once the server has been silent for
// longer than the silence limit, whichever comes first: a server that sends
// nothing in either direction for that long counts as gone, however much
// time the exchange has left. While it waits for the answer the hook runs
// about every `hookEvery` ms; whatever the hook let in is looked at before
// the socket is waited on again.
class SocketWait final {
public:
    enum class Outcome { Ready, Closed, DeadlineReached, Silence };

    // A silence limit of -1 lets the deadline alone decide.
    SocketWait(QTcpSocket &socket, QDeadlineTimer deadline, int silenceLimit, const std::function<void()> &hook,
               int hookEvery);

    // Until everything written to the socket has left.
    Outcome flush();
    // Until some bytes of the answer are in; they are appended to `bytes`.
    // Bytes already received are taken at once, the deadline past or not.
    Outcome next(QByteArray &bytes);

private:
    Outcome interrupted() const;
    int untilNextHook() const;

    QTcpSocket &m_socket;
    QDeadlineTimer m_deadline;
    int m_silenceLimit;
    QDeadlineTimer m_silence;
    const std::function<void()> &m_hook;
    int m_hookEvery;
    QElapsedTimer m_sinceHook;
};
