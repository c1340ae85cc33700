#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QTcpSocket>

// A bare client of the wire protocol for the tests: JSON-RPC lines over a
// TCP socket, nothing of the product's own client code.
class JsonLineClient final {
public:
    // Connects to the loopback port, from the loopback address `from` when
    // given (127.0.0.2, ...: another host to the server); false when the
    // server cannot be reached within five seconds.
    bool open(quint16 port, const QString &from = QString());
    // Opens and sends `connect` with the module's server name.
    bool openSession(quint16 port);

    // Sends one request and waits for its answer line (empty object on
    // timeout or a dropped connection). Change notices that come first are
    // kept for readNotice(): another server's notice may arrive at any time.
    QJsonObject call(const QString &method, const QJsonArray &params);
    // The checked answer inside a successful call's result.
    QJsonObject checked(const QString &method, const QJsonArray &params);

    void sendRaw(const QByteArray &bytes);
    QJsonObject readAnswer(int timeoutMs = 10000);
    // The next change notice, kept or still to come (empty on timeout).
    QJsonObject readNotice(int timeoutMs = 10000);
    // The next answer line as it came, without its newline; empty on
    // timeout or a dropped connection, leaving what did come in unread().
    QByteArray readLine(int timeoutMs = 10000);
    QByteArray unread() const { return m_pending; }
    void abort() { m_socket.abort(); }
    QTcpSocket &socket() { return m_socket; }
    bool isConnected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

private:
    QTcpSocket m_socket;
    QByteArray m_pending;
    QList<QJsonObject> m_notices;
    int m_nextId = 1;
};
