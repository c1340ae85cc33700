#include "ConnectionClasses.h"

bool ConnectionClasses::admitWaiting()
{
    const std::lock_guard lock(m_mutex);
    if (m_waiting >= m_maxWaiting) {
        return false;
    }
    ++m_waiting;
    return true;
}

QString ConnectionClasses::accept(const QString &operatorCode)
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
    --m_waiting;
    return QString();
}

void ConnectionClasses::leave(bool accepted, const QString &operatorCode)
{
    const std::lock_guard lock(m_mutex);
    if (!accepted) {
        --m_waiting;
        return;
    }
    if (!operatorCode.isEmpty() && --m_perOperator[operatorCode] <= 0) {
        m_perOperator.remove(operatorCode);
    }
}
