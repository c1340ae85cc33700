#pragma once

#include "DatabaseLocation.h"

#include <QHash>
#include <QTcpServer>

class ClientConnection;
class QThread;

// Accepts clients and gives each one its own thread and database
// connection, so a slow call never holds up another client.
class AppServer final : public QTcpServer {
    Q_OBJECT
public:
    struct Limits {
        qint64 maxLineLength = 64 * 1024 * 1024;
        int busyTimeoutMs = 5000;
    };

    AppServer(const DatabaseLocation &location, const Limits &limits, QObject *parent = nullptr);
    ~AppServer() override;

    // Stops accepting, lets every connection finish the call it is running,
    // closes them and waits for their threads.
    void shutdown();

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    DatabaseLocation m_location;
    Limits m_limits;
    QHash<QThread *, ClientConnection *> m_connections;
};
