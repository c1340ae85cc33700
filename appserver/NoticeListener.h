#pragma once

#include "DatabaseLocation.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTimer>

class NoticeHub;

// On PostgreSQL: the server's own connection that LISTENs on the notices'
// channel, on the thread whose event loop it lives in (the main one), and
// hands each notice it hears, from any server of the database, to this
// server's hub. The connection is looked at every few seconds; once it
// breaks it is opened again on the same timer, and each loss and recovery
// is logged. Notices sent while it is broken are lost (clients list again
// when they reconnect).
class NoticeListener final : public QObject {
    Q_OBJECT
public:
    NoticeListener(const DatabaseLocation &location, NoticeHub *hub, QObject *parent = nullptr);
    ~NoticeListener() override;

private:
    void open();
    void check();
    void close();
    void hear(const QString &channel, QSqlDriver::NotificationSource source, const QVariant &payload);

    DatabaseLocation m_location;
    NoticeHub *m_hub;
    QSqlDatabase m_db;
    QTimer m_retry;
    bool m_lost = false;
};
