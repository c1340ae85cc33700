#pragma once

#include "DatabaseLocation.h"
#include "LineFramer.h"

#include <QObject>
#include <QSqlDatabase>

#include <memory>

class QTcpSocket;
class RpcSession;

// Serves one client on its own thread with its own database connection:
// reads request lines, answers them in order, and ends when the client
// goes away or the server stops.
class ClientConnection final : public QObject {
    Q_OBJECT
public:
    ClientConnection(qintptr socketDescriptor, const DatabaseLocation &location, qint64 maxLineLength, int busyTimeoutMs);
    ~ClientConnection() override;

public slots:
    void start(); // runs on the connection's thread
    void stop();  // closes the connection after the call in progress

signals:
    void finished();

private:
    void readRequests();
    bool send(const QByteArray &bytes);
    void finish();

    qintptr m_descriptor;
    DatabaseLocation m_location;
    int m_busyTimeoutMs;
    qint64 m_maxLineLength;
    LineFramer m_buffer;
    QTcpSocket *m_socket = nullptr;
    QString m_connectionName;
    std::unique_ptr<RpcSession> m_session;
    bool m_answering = false;
    bool m_finished = false;
};
