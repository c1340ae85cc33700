#include "CallDeadline.h"

#include "SqliteHandle.h"
#include "Sql.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>

namespace {

// Virtual machine steps between two looks at the clock: a few microseconds
// of work, so a deadline is kept to the millisecond at no measurable cost.
constexpr int stepsBetweenChecks = 1000;

std::atomic<std::chrono::steady_clock::rep> stopDeadline{std::numeric_limits<std::chrono::steady_clock::rep>::max()};

} // namespace

CallDeadline::CallDeadline(const QSqlDatabase &db, int timeoutMs)
    : m_db(db), m_timeoutMs(timeoutMs)
{
    if (Sql::isPostgres(db)) {
        Sql::run(db, QStringLiteral("SET statement_timeout = %1").arg(timeoutMs));
        return;
    }
    m_sqlite = true;
    sqlite3_progress_handler(SqliteHandle::of(db), stepsBetweenChecks, &CallDeadline::progress, this);
}

CallDeadline::~CallDeadline()
{
    if (m_sqlite && m_db.isOpen()) {
        sqlite3_progress_handler(SqliteHandle::of(m_db), 0, nullptr, nullptr);
    }
}

void CallDeadline::start()
{
    const auto until = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
    m_deadline.store(until.time_since_epoch().count());
}

void CallDeadline::end()
{
    m_deadline.store(0);
}

bool CallDeadline::hasPassed() const
{
    const auto deadline = m_deadline.load();
    return deadline != 0 && Clock::now().time_since_epoch().count() > deadline;
}

int CallDeadline::remainingMs() const
{
    const auto deadline = m_deadline.load();
    if (deadline == 0) {
        return m_timeoutMs;
    }
    const auto left = Clock::duration(deadline) - Clock::now().time_since_epoch();
    return int(std::max<std::chrono::milliseconds::rep>(1, std::chrono::duration_cast<std::chrono::milliseconds>(left).count()));
}

void CallDeadline::stopAllWithin(int timeoutMs)
{
    const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    stopDeadline.store(until.time_since_epoch().count());
}

int CallDeadline::progress(void *self)
{
    const auto deadline = static_cast<CallDeadline *>(self)->m_deadline.load();
    const auto now = Clock::now().time_since_epoch().count();
    // Statements outside a call (opening the connection) run unbounded by
    // the call's limit, but not past a stop.
    return (deadline != 0 && now > deadline) || now > stopDeadline.load() ? 1 : 0;
}
