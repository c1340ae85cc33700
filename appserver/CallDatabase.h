#pragma once

#include <QSqlDatabase>

class CallDeadline;

// What a session's calls run on: a database connection lent for one call at
// a time, with the deadline that bounds the call.
class CallDatabase {
public:
    struct Lent {
        QSqlDatabase db;
        CallDeadline *deadline = nullptr;
    };

    virtual ~CallDatabase() = default;
    // The connection for the call about to run; throws RpcError when none
    // can be had (the server's connections all busy, the database down).
    virtual Lent lend() = 0;
    // The call ended, every copy of the lent connection dropped; `failed`
    // when the database failed during it.
    virtual void takeBack(bool failed) = 0;
};
