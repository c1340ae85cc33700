#pragma once

#include <QSqlDatabase>

class CallDeadline;

// What sessions' calls run on: a database connection lent for one call at a
// time, with the deadline that bounds the call.
class CallDatabase {
public:
    struct Lent {
        QSqlDatabase db;
        CallDeadline *deadline = nullptr;
        int id = 0; // given back to takeBack()
    };

    virtual ~CallDatabase() = default;
    // A connection for the call about to run on this thread; throws
    // RpcError when none can be had (all busy, the database down).
    virtual Lent lend(const QString &peer) = 0;
    // The call ended, on the thread it ran on, every copy of the lent
    // connection dropped; `failed` when the database failed during it.
    virtual void takeBack(int id, bool failed) = 0;
};
