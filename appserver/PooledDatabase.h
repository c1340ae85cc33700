#pragma once

#include "CallDatabase.h"
#include "CallDeadline.h"
#include "DatabaseLocation.h"
#include "DatabasePool.h"

#include <QObject>
#include <QTimer>

#include <memory>

// One client connection's database, on the connection's own thread: opened
// when a call needs it and the pool gives it a slot, kept between calls
// while the client stays busy, and closed when the pool wants the slot for
// someone else, after a few idle seconds, or when it went bad.
class PooledDatabase final : public QObject, public CallDatabase, private DatabasePool::Holder {
    Q_OBJECT
public:
    struct Settings {
        std::shared_ptr<DatabasePool> pool = std::make_shared<DatabasePool>(20); // shared by all connections
        DatabaseLocation location;
        int busyTimeoutMs = 5000; // also the longest wait for a slot
        int statementTimeoutMs = 60000;
    };

    PooledDatabase(const Settings &settings, const QString &connectionName, const QString &peer, QObject *parent = nullptr);
    ~PooledDatabase() override;

    Lent lend() override;
    void takeBack(bool failed) override;

private:
    void askToGiveBack() override;
    void close();

    Settings m_settings;
    QString m_connectionName;
    QString m_peer;
    QSqlDatabase m_db;
    std::unique_ptr<CallDeadline> m_deadline;
    QTimer m_linger;
    bool m_holding = false; // a slot of the pool
    bool m_inCall = false;
};
