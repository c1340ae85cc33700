#pragma once

#include "PacketColumns.h"
#include "TNetArg.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

class QDeadlineTimer;
class QElapsedTimer;
class QTcpSocket;

// The socket connection of a screen to one remote data module of the
// application server (for example "CXL04100.rdmCancelamento"), and the
// synchronous calls made through it.
//
// Connecting opens a TCP connection to Host:Port (with Tls, a TLS session
// over it) and then sends the protocol's first call,
// {"method":"connect","params":[ServerName]}, with the operator's
// credentials as a second parameter when an operator and a password are
// set; the connection counts as open only when the server has accepted it.
// BeforeConnect runs just before every attempt, so a screen can set Host,
// Port, Tls and the credentials there from the operator's login.
//
// Trusting the server's certificate: with ServerFingerprint set the
// certificate must have exactly that SHA-256 fingerprint (a self-signed one
// included, whatever its name); without it the certificate must pass the
// system's verification for Host. Either way nothing is sent to a server
// that is not trusted, so a password never reaches the wrong one; the
// fingerprint it offered is then in OfferedFingerprint, for the host to
// show the operator.
//
// A failed Connect depends on ThrowException:
// - true: Connect throws std::runtime_error with the reason;
// - false (the default): Connect returns normally, the connection stays
//   closed and LastError() holds the reason. The next Call connects again
//   (BeforeConnect runs again) and throws that reason if it still fails.
// Either way no call is ever sent without an accepted connection.
//
// Calls are synchronous and block the calling thread (the UI thread) with
// the socket's waitFor* functions: no event loop runs meanwhile, so no other
// screen event can slip in. Nothing waits without limit:
// - ConnectTimeout (default 5 s) bounds opening the socket and the server's
//   answer to the connect call;
// - CallTimeout (default 120 s, meant for the largest listings) bounds each
//   call from sending the request to the last byte of its answer.
// Both are milliseconds (-1 would lift the limit; nothing here sets it). A connection belongs to the
// thread that uses it: the socket is made by the connect that needs it.
//
// Failures of a call throw std::runtime_error with a Portuguese sentence for
// the operator: the server unreachable or refusing ("Não foi possível
// conectar ao servidor de aplicação 127.0.0.1:7400 (conexão recusada)."), the
// connection dropped during the call or no answer in time (both name host,
// port and method), an untrusted certificate or a failed TLS handshake, an
// answer that breaks the protocol, and a JSON-RPC error answer (with the
// server's message; a refused connect leaves its code in LastErrorCode).
// The password never appears in a message. A dropped connection, a timeout
// and a broken answer close the connection, since a late answer could
// otherwise be taken for the next call's; the next call reconnects. A JSON-RPC error
// leaves the connection open. An exception thrown by BeforeConnect goes on to
// the caller unchanged and leaves the connection closed.
class TNetConnection final : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultConnectTimeout = 5000; // ms
    static constexpr int DefaultCallTimeout = 120000;  // ms

    explicit TNetConnection(QObject *parent = nullptr);
    ~TNetConnection() override;

    // Where and to whom to connect; changes take effect at the next connect.
    QString Host() const { return m_host; }
    void SetHost(const QString &host) { m_host = host; }
    int Port() const { return m_port; }
    void SetPort(int port) { m_port = port; }
    QString ServerName() const { return m_serverName; }
    void SetServerName(const QString &serverName) { m_serverName = serverName; }

    // Credentials for servers that require an operator; the password is
    // kept only to connect again and cannot be read back.
    QString Operator() const { return m_operator; }
    void SetOperator(const QString &operatorCode) { m_operator = operatorCode; }
    void SetPassword(const QString &password) { m_password = password; }

    bool Tls() const { return m_tls; }
    void SetTls(bool tls) { m_tls = tls; }
    // The SHA-256 fingerprint the server's certificate must have, as
    // ServerCertificate::Fingerprint writes it (case and separators do not
    // matter); empty: the system's verification decides.
    QString ServerFingerprint() const { return m_serverFingerprint; }
    void SetServerFingerprint(const QString &fingerprint) { m_serverFingerprint = fingerprint; }

    bool ThrowException() const { return m_throwException; }
    void SetThrowException(bool throwException) { m_throwException = throwException; }

    int ConnectTimeout() const { return m_connectTimeout; }
    void SetConnectTimeout(int milliseconds) { m_connectTimeout = milliseconds; }
    int CallTimeout() const { return m_callTimeout; }
    void SetCallTimeout(int milliseconds) { m_callTimeout = milliseconds; }

    // Runs just before each connection attempt, with this connection.
    std::function<void(TNetConnection &)> BeforeConnect;

    // Connects unless already connected; see the class comment for failures.
    void Connect();
    // Closes the connection; does nothing when it is closed.
    void Disconnect();
    // Open and accepted by the server. A server that went away while the
    // connection sat idle is only noticed by the next call, which reconnects.
    bool Connected() const;
    // Why the last connection attempt failed; empty after a successful one.
    QString LastError() const { return m_lastError; }
    // The JSON-RPC error code with which the server refused the last connect
    // call; 0 when the last attempt succeeded or failed otherwise.
    int LastErrorCode() const { return m_lastErrorCode; }
    // The codes of a connect refused for the operator's sake.
    static constexpr int OperatorRequired = -32004; // no operator and password given
    static constexpr int OperatorRefused = -32005;  // operator or password wrong
    // The fingerprint of the certificate the server offered when the last
    // attempt did not trust it; empty otherwise.
    QString OfferedFingerprint() const { return m_offeredFingerprint; }

    // Calls `method` with `args` in order and returns the answer's value
    // (null or undefined when the server gives none). Every by-reference
    // argument the server returns in the answer's refs gets its final value;
    // one it does not return keeps its value. When the answer cannot be used
    // (a returned value of the wrong kind included) no argument is written.
    // Connects first when not connected. Throws std::runtime_error as the
    // class comment says.
    QJsonValue Call(const QString &method, const QList<TNetArg> &args = {});
    // Call for a method whose checked answer carries a data packet: the
    // packet is read straight from the socket into `packet` as its bytes
    // arrive, and the value returned is the checked answer without it
    // (`packet` stays empty when the answer holds none). A packet of the
    // wrong shape is a broken answer.
    QJsonValue CallPacket(const QString &method, const QList<TNetArg> &args, std::optional<PacketColumns> &packet);

    // A call blocks its thread's event loop until the answer is in. The
    // hook runs about every 50 ms of waiting for the server, so the host can
    // keep its busy indicator on the screen; one for the whole process, none
    // when empty. Whatever it lets run may not call on a connection that is
    // waiting: such a call is refused with std::logic_error.
    static void SetWaitHook(std::function<void()> hook);

private:
    QJsonValue call(const QString &method, const QList<TNetArg> &args, std::optional<PacketColumns> *packet);
    void open();
    void startTls(const QDeadlineTimer &deadline);
    QJsonArray connectParams() const;
    std::runtime_error cannotConnect(const QString &reason) const;
    QJsonObject exchange(const QString &method, const QJsonArray &params, const QDeadlineTimer &deadline,
                         std::optional<PacketColumns> *packet = nullptr);
    QJsonObject readAnswer(qint64 id, const QDeadlineTimer &deadline, std::optional<PacketColumns> *packet);
    QJsonValue takeResult(const QString &method, const QJsonObject &answer, const QList<TNetArg> &args) const;
    bool peerStillThere();
    void waitForAnswerBytes(const QDeadlineTimer &deadline, QElapsedTimer &sinceHook);
    void drop();
    QString address() const;

    QString m_host = QStringLiteral("127.0.0.1");
    int m_port = 0;
    QString m_serverName;
    QString m_operator;
    QString m_password;
    bool m_tls = false;
    QString m_serverFingerprint;
    bool m_throwException = false;
    bool m_calling = false;
    int m_connectTimeout = DefaultConnectTimeout;
    int m_callTimeout = DefaultCallTimeout;
    QString m_lastError;
    int m_lastErrorCode = 0;
    QString m_offeredFingerprint;

    std::unique_ptr<QTcpSocket> m_socket; // only while connected
    QByteArray m_received; // what arrived after the last answer read
    qint64 m_nextId = 1;
};
