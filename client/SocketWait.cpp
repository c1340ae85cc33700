#include "SocketWait.h"

#include <QTcpSocket>

#include <algorithm>
#include <limits>

namespace {

// What a socket wait takes: milliseconds, -1 for no end.
int millisecondsLeft(const QDeadlineTimer &until)
{
    return int(std::min<qint64>(until.remainingTime(), std::numeric_limits<int>::max()));
}

} // namespace

SocketWait::SocketWait(QTcpSocket &socket, QDeadlineTimer deadline, int silenceLimit, const std::function<void()> &hook,
                       int hookEvery)
    : m_socket(socket)
    , m_deadline(deadline)
    , m_silenceLimit(silenceLimit)
    , m_silence(silenceLimit)
    , m_hook(hook)
    , m_hookEvery(hookEvery)
{
    m_sinceHook.start();
}

SocketWait::Outcome SocketWait::interrupted() const
{
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        return Outcome::Closed;
    }
    if (m_deadline.hasExpired()) {
        return Outcome::DeadlineReached;
    }
    // A wait that failed on a connected socket before either limit: the
    // socket itself broke, which is as good as closed.
    return m_silence.hasExpired() ? Outcome::Silence : Outcome::Closed;
}

SocketWait::Outcome SocketWait::flush()
{
    while (m_socket.bytesToWrite() > 0) {
        if (!m_socket.waitForBytesWritten(millisecondsLeft(std::min(m_deadline, m_silence)))) {
            return interrupted();
        }
        // Bytes taken by a server are a sign of life as much as bytes sent by it.
        m_silence.setRemainingTime(m_silenceLimit);
    }
    // The server's silence counts from the request's end.
    m_silence.setRemainingTime(m_silenceLimit);
    return Outcome::Ready;
}

int SocketWait::untilNextHook() const
{
    return int(std::max<qint64>(m_hookEvery - m_sinceHook.elapsed(), 0));
}

SocketWait::Outcome SocketWait::next(QByteArray &bytes)
{
    // The first look waits at least a moment, so time spent elsewhere since
    // the last bytes (reading them, the hook) is never taken for silence
    // without asking the socket.
    for (bool waited = false;; waited = true) {
        if (m_hook && m_sinceHook.elapsed() >= m_hookEvery) {
            m_hook();
            m_sinceHook.restart();
        }
        // Whatever came meanwhile, read by the socket inside the hook included.
        const QByteArray received = m_socket.readAll();
        if (!received.isEmpty()) {
            bytes.append(received);
            m_silence.setRemainingTime(m_silenceLimit);
            return Outcome::Ready;
        }
        if (m_socket.state() != QAbstractSocket::ConnectedState
            || (waited && (m_deadline.hasExpired() || m_silence.hasExpired()))) {
            return interrupted();
        }
        const QDeadlineTimer until = std::min(m_deadline, m_silence);
        int wait = millisecondsLeft(until);
        if (m_hook) {
            wait = wait < 0 ? untilNextHook() : std::min(wait, untilNextHook());
        }
        m_socket.waitForReadyRead(wait);
    }
}
