#pragma once

#include "CallDatabase.h"
#include "CallDeadline.h"
#include "DatabaseLocation.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// The database connections of the server, shared by its client
// connections: at most `size` open at once, each lent to one call at a
// time on whichever thread runs it, and kept open for the next call. A
// call that finds them all busy waits for one up to the busy timeout, and
// the waiting calls are served in the order they came. Thread-safe.
//
// A QtSql connection belongs to a thread: the one that lends it out pulls
// its driver to itself, and taking it back leaves it belonging to none (as
// QSqlDatabase::moveToThread does in later Qt versions), so that no two
// threads ever use it and each use happens on the thread that owns it.
class DatabasePool final : public CallDatabase {
public:
    struct Settings {
        DatabaseLocation location;
        int size = 20;
        int busyTimeoutMs = 5000; // also the longest wait for a connection
        int statementTimeoutMs = 60000;
    };

    explicit DatabasePool(const Settings &settings);
    // Closes the connections; every one lent must have been taken back.
    ~DatabasePool() override;

    Lent lend(const QString &peer) override;
    void takeBack(int id, bool failed) override;

private:
    struct Connection {
        int id = 0;
        QString name;
        QSqlDatabase db;
        std::unique_ptr<CallDeadline> deadline;
    };
    // A call waiting for a connection: handed one taken back, or the right
    // to open one in place of one closed. Each is woken alone.
    struct Waiter {
        std::condition_variable served;
        std::unique_ptr<Connection> connection;
        bool mayOpen = false;
    };

    Lent lendOut(std::unique_ptr<Connection> connection);
    // With the lock held: a connection taken back, or the place of one
    // closed (null), goes to the first waiting call or to the pool.
    void handOn(std::unique_ptr<Connection> connection);
    static void close(Connection &connection);

    const Settings m_settings;
    std::mutex m_mutex;
    int m_open = 0;
    int m_nextId = 0;
    std::vector<std::unique_ptr<Connection>> m_idle; // the last one back first out
    std::map<int, std::unique_ptr<Connection>> m_lent;
    std::deque<Waiter *> m_waiting;
};
