#pragma once

#include "ClientConnection.h"

#include <QHash>
#include <QTcpServer>

class QThread;

// Accepts clients and gives each one its own thread, up to a number of
// connections in all and from one address; a client beyond them gets an
// error line and is closed at once, so a flood of sockets can neither
// exhaust the process's descriptors nor take every place.
class AppServer final : public QTcpServer {
    Q_OBJECT
public:
    struct Limits {
        int maxConnections = 256;
        int maxConnectionsPerAddress = 32;
    };

    AppServer(const ClientConnection::Settings &settings, const Limits &limits, QObject *parent = nullptr);
    ~AppServer() override;

    // Stops accepting, lets every connection finish the call it is running
    // (their database statements are interrupted once `timeoutMs` passes),
    // closes them and waits for their threads. False when some thread was
    // still stuck after the time (a statement the database would not stop):
    // the process must then end without waiting for it.
    bool shutdown(int timeoutMs);

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    void refuse(qintptr socketDescriptor, const QString &why);

    ClientConnection::Settings m_settings;
    Limits m_limits;
    struct Running {
        ClientConnection *connection = nullptr;
        QString address;
    };
    QHash<QThread *, Running> m_connections;
    QHash<QString, int> m_perAddress;
};
