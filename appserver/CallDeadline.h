#pragma once

#include <QSqlDatabase>

#include <atomic>
#include <chrono>
#include <stdexcept>

// How long one call may keep the database busy. On SQLite a progress
// handler interrupts a statement that runs past the call's deadline (its
// transaction is then rolled back); on PostgreSQL the session's
// statement_timeout does the same. When the server stops, every running
// call gets the nearer of its deadline and the stop's.
class CallDeadline final {
public:
    CallDeadline(const QSqlDatabase &db, int timeoutMs);
    ~CallDeadline();
    CallDeadline(const CallDeadline &) = delete;
    CallDeadline &operator=(const CallDeadline &) = delete;

    // What a call's own checks throw once its deadline has passed.
    struct Passed : std::runtime_error {
        Passed() : std::runtime_error("a chamada passou do seu limite de tempo") {}
    };

    // Around each call. PostgreSQL times each statement itself; SQLite's
    // statements, and a call's own checks between them, go by these.
    void start();
    void end();
    // Whether the running call has gone past its deadline.
    bool hasPassed() const;
    // What is left of the running call, at least 1 ms: the limit of a
    // statement that is one of several within the call.
    int remainingMs() const;
    int timeoutMs() const { return m_timeoutMs; }

    // From now on no call runs past `timeoutMs` from now.
    static void stopAllWithin(int timeoutMs);

private:
    using Clock = std::chrono::steady_clock;
    static int progress(void *self);

    QSqlDatabase m_db;
    int m_timeoutMs;
    bool m_sqlite = false;
    std::atomic<Clock::rep> m_deadline{0}; // 0: no call running
};
