#include "DatabasePool.h"

#include <algorithm>
#include <chrono>

bool DatabasePool::take(Holder *holder, int waitMs)
{
    std::unique_lock lock(m_mutex);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    m_waiting.push_back(holder);
    for (;;) {
        if (m_waiting.front() == holder && m_taken < m_size) {
            m_waiting.pop_front();
            ++m_taken;
            m_changed.notify_all(); // the next in line may find a slot too
            return true;
        }
        // Each waiter beyond the free slots asks one idle holder.
        if (m_taken >= m_size && !m_idle.empty() && m_askedBack.size() < m_waiting.size()) {
            Holder *longestIdle = m_idle.front();
            m_idle.pop_front();
            m_askedBack.insert(longestIdle);
            longestIdle->askToGiveBack();
        }
        if (m_changed.wait_until(lock, until) == std::cv_status::timeout) {
            m_waiting.erase(std::find(m_waiting.begin(), m_waiting.end(), holder));
            m_changed.notify_all(); // the one behind may now be first
            return false;
        }
    }
}

bool DatabasePool::resume(Holder *holder)
{
    const std::lock_guard lock(m_mutex);
    const auto idle = std::find(m_idle.begin(), m_idle.end(), holder);
    if (idle != m_idle.end()) {
        m_idle.erase(idle);
        return true;
    }
    return !m_askedBack.contains(holder);
}

void DatabasePool::pause(Holder *holder)
{
    const std::lock_guard lock(m_mutex);
    m_idle.push_back(holder);
    m_changed.notify_all(); // a waiter may ask it for its slot
}

bool DatabasePool::askedBack(Holder *holder)
{
    const std::lock_guard lock(m_mutex);
    return m_askedBack.contains(holder);
}

void DatabasePool::giveBack(Holder *holder)
{
    const std::lock_guard lock(m_mutex);
    m_idle.erase(std::remove(m_idle.begin(), m_idle.end(), holder), m_idle.end());
    m_askedBack.erase(holder);
    --m_taken;
    m_changed.notify_all();
}
