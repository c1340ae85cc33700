#pragma once

#include <QHash>
#include <QString>

#include <mutex>

// The connections of the server by class, for its caps: those still
// waiting for an accepted connect have a small cap of their own, so that
// strangers (or one host with many addresses) can never take the slots of
// operators who have logged in, and one address holds only a share of it,
// so that one host can never take the waiting slots of every other; one
// operator holds a bounded number. Shared by the accepting thread and the
// connections' threads.
class ConnectionClasses final {
public:
    ConnectionClasses(int maxWaiting, int maxWaitingPerAddress, int maxPerOperator)
        : m_maxWaiting(maxWaiting), m_maxWaitingPerAddress(maxWaitingPerAddress), m_maxPerOperator(maxPerOperator)
    {
    }

    int maxWaiting() const { return m_maxWaiting; }
    int maxWaitingPerAddress() const { return m_maxWaitingPerAddress; }
    // A new connection from `address`, before its connect; false when the
    // waiting ones, or those of that address, are at their cap.
    bool admitWaiting(const QString &address);
    // Its connect was accepted for `operatorCode` (empty on a server without
    // operators): it stops waiting. The reason in the operator's words when
    // that operator already holds the most connections it may; it then
    // still counts as waiting.
    QString accept(const QString &address, const QString &operatorCode);
    // The connection went away, accepted (`operatorCode` as given to accept)
    // or still waiting.
    void leave(bool accepted, const QString &address, const QString &operatorCode);

private:
    void stopWaiting(const QString &address);

    const int m_maxWaiting;
    const int m_maxWaitingPerAddress;
    const int m_maxPerOperator;
    std::mutex m_mutex;
    int m_waiting = 0;
    QHash<QString, int> m_waitingFrom;
    QHash<QString, int> m_perOperator;
};
