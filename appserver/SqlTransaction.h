#pragma once

#include "NoticeSource.h"
#include "QuoteNotice.h"

#include <QList>
#include <QSqlDatabase>

// One write transaction. On SQLite it takes the write lock at once
// (BEGIN IMMEDIATE), so two writers queue on the busy timeout instead of
// failing half-way; the destructor rolls back anything not committed, so
// an exception anywhere leaves the database as it was.
//
// It also carries the change notices of the write (announce()), so that
// only a committed write is ever announced: on PostgreSQL they go out with
// pg_notify inside the transaction, just before COMMIT (the database
// delivers them to every server's listener only if it commits); on SQLite
// they go to the server's hub once COMMIT succeeded.
class SqlTransaction final {
public:
    // throws std::runtime_error
    explicit SqlTransaction(const QSqlDatabase &db, const NoticeSource &notices = {});
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction &) = delete;
    SqlTransaction &operator=(const SqlTransaction &) = delete;

    // The quote changed (`what` as in QuoteNotice): its state and reason are
    // read now, as this transaction leaves them. A later announce of the same
    // quote replaces this one. Does nothing when the server runs without
    // notices. Throws std::runtime_error.
    void announce(const QuoteKey &key, const QString &what, const QString &operatorCode);

    // Throws std::runtime_error, and commits nothing when the client the
    // write came from is no longer there; the transaction is over either way.
    void commit();

private:
    QSqlDatabase m_db;
    NoticeSource m_notices;
    QList<QuoteNotice> m_announced;
    bool m_open = false;
};
