#include "ConnectionClasses.h"

bool ConnectionClasses::admitWaiting(const QString &address)
{
    const std::lock_guard lock(m_mutex);
    if (m_waiting >= m_maxWaiting || m_waitingFrom.value(address) >= m_maxWaitingPerAddress) {
        return false;
    }
    ++m_waiting;
    ++m_waitingFrom[address];
    return true;
}

QString ConnectionClasses::accept(const QString &address, const QString &operatorCode)
{
    const std::lock_guard lock(m_mutex);
    // Without operators there is no one to count: loopback demos and tests.
    if (!operatorCode.isEmpty()) {
        int &held = m_perOperator[operatorCode];
        if (held >= m_maxPerOperator) {
            return QStringLiteral("o operador %1 já tem %2 conexões abertas, o limite").arg(operatorCode).arg(held);
        }
        ++held;
    }
    stopWaiting(address);
    return QString();
}

void ConnectionClasses::leave(bool accepted, const QString &address, const QString &operatorCode)
{
    const std::lock_guard lock(m_mutex);
    if (!accepted) {
        stopWaiting(address);
        return;
    }
    if (!operatorCode.isEmpty() && --m_perOperator[operatorCode] <= 0) {
        m_perOperator.remove(operatorCode);
    }
}

void ConnectionClasses::stopWaiting(const QString &address)
{
    --m_waiting;
    if (--m_waitingFrom[address] <= 0) {
        m_waitingFrom.remove(address);
    }
}
