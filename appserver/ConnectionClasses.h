#pragma once

#include <QHash>
#include <QString>

#include <mutex>

// The connections of the server by class, for its caps: those still
// waiting for an accepted connect have a small cap of their own, so that
// strangers (or one host with many addresses) can never take the slots of
// operators who have logged in; and one operator holds a bounded number.
// Shared by the accepting thread and the connections' threads.
class ConnectionClasses final {
public:
    ConnectionClasses(int maxWaiting, int maxPerOperator) : m_maxWaiting(maxWaiting), m_maxPerOperator(maxPerOperator) {}

    int maxWaiting() const { return m_maxWaiting; }
    // A new connection, before its connect; false when the waiting ones are
    // at their cap.
    bool admitWaiting();
    // Its connect was accepted for `operatorCode` (empty on a server without
    // operators): it stops waiting. The reason in the operator's words when
    // that operator already holds the most connections it may; it then
    // still counts as waiting.
    QString accept(const QString &operatorCode);
    // The connection went away, accepted (`operatorCode` as given to accept)
    // or still waiting.
    void leave(bool accepted, const QString &operatorCode);

private:
    const int m_maxWaiting;
    const int m_maxPerOperator;
    std::mutex m_mutex;
    int m_waiting = 0;
    QHash<QString, int> m_perOperator;
};
