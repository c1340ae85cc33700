#pragma once

#include <QtGlobal>

#include <atomic>

// The bytes that unfinished request lines of all connections together may
// hold. Each connection may hold a line up to the line limit, but many
// connections each holding a half-sent one would take the machine's memory.
class LineBudget final {
public:
    explicit LineBudget(qint64 limit) : m_limit(limit) {}

    qint64 limit() const { return m_limit; }
    // Moves what one connection holds from `held` to `wanted` bytes; false,
    // leaving `held` as it was, when the others leave no room for it.
    bool hold(qint64 &held, qint64 wanted)
    {
        const qint64 growth = wanted - held;
        if (m_used.fetch_add(growth) + growth > m_limit && growth > 0) {
            m_used.fetch_sub(growth);
            return false;
        }
        held = wanted;
        return true;
    }

private:
    const qint64 m_limit;
    std::atomic<qint64> m_used{0};
};
