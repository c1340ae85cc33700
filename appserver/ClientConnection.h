#pragma once

#include "ConnectionClasses.h"
#include "DatabasePool.h"
#include "LineBudget.h"
#include "LineFramer.h"
#include "NoticeHub.h"

#include <QObject>
#include <QSslConfiguration>
#include <QTimer>

#include <memory>
#include <optional>

class QTcpSocket;
class RpcSession;

// Serves one client on its own thread: reads request lines, answers them in
// order, and ends when the client goes away, stays silent too long, takes
// too long over a line or the answer, or the server stops. Its calls borrow
// a database connection from the pool shared by all connections. The change
// notices it asked for are written between answers, never inside one; a
// client that lets them pile up past the hub's limit is disconnected.
class ClientConnection final : public QObject {
    Q_OBJECT
public:
    struct Settings {
        std::shared_ptr<DatabasePool> database; // shared by all connections
        qint64 maxLineLength = 4 * 1024 * 1024;
        std::shared_ptr<ConnectionClasses> classes = std::make_shared<ConnectionClasses>(32, 8, 16); // shared by all connections
        std::shared_ptr<LineBudget> partialLines = std::make_shared<LineBudget>(64 * 1024 * 1024); // shared by all connections
        int handshakeTimeoutMs = 10000; // TLS and connect
        int idleTimeoutMs = 3600000;
        int lineTimeoutMs = 30000;  // from a line's first byte to its newline
        int stallTimeoutMs = 30000; // a client that takes no byte of its answer
        bool requireOperators = false;
        std::optional<QSslConfiguration> tls; // set: the client speaks TLS
        std::shared_ptr<NoticeHub> notices;   // shared by all connections; null: the server runs without notices
    };

    // `address` is the peer's, as the server counted it when it admitted the connection.
    ClientConnection(qintptr socketDescriptor, const QString &address, const Settings &settings);
    ~ClientConnection() override;

public slots:
    void start(); // runs on the connection's thread
    void stop();  // closes the connection after the call in progress

signals:
    void finished();

private:
    // The client has not closed its side: a write's answer still has
    // someone to tell.
    bool clientStillThere() const;
    void readRequests();
    void answerRequests();
    void sendNotices();
    bool send(const QByteArray &bytes);
    qint64 untakenBytes() const;
    void hangUp();
    void expire(const QString &why);
    void finish();

    qintptr m_descriptor;
    const QString m_address;
    Settings m_settings;
    LineFramer m_buffer;
    QTcpSocket *m_socket = nullptr;
    QString m_peer;
    QString m_origin; // of this connection's writes, in their notices
    std::unique_ptr<RpcSession> m_session;
    QTimer *m_handshake = nullptr;
    QTimer *m_idle = nullptr;
    QTimer *m_line = nullptr;
    qint64 m_heldBytes = 0; // of the budget, for the unfinished line
    bool m_answering = false;
    bool m_finished = false;
};
