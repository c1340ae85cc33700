#pragma once

#include "PacketColumns.h"
#include "TNetArg.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

class QDeadlineTimer;
class QTcpSocket;
class SocketWait;

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
//   call from sending the request to the last byte of its answer;
// - IdleTimeout (default 10 s) bounds the server's silence within a call:
//   a call that receives no byte for that long (nor has a byte of its
//   request taken) is abandoned as if the connection had dropped, so a
//   frozen server is left behind long before CallTimeout. Only silence
//   counts: a listing still arriving, however slowly, goes on.
// All are milliseconds (-1 would lift the limit; nothing here sets it). A
// connection belongs to the thread that uses it: the socket is made by the
// connect that needs it.
//
// Failures of a call throw std::runtime_error with a Portuguese sentence for
// the operator: the server unreachable or refusing ("Não foi possível
// conectar ao servidor de aplicação 127.0.0.1:7400 (conexão recusada)."), the
// connection dropped during the call, a server silent for IdleTimeout or no
// answer in time (all name host, port and method), an untrusted certificate
// or a failed TLS handshake, an answer that breaks the protocol, and a
// JSON-RPC error answer (with the server's message; a refused connect leaves
// its code in LastErrorCode). The password never appears in a message. A
// dropped connection, a silent server, a timeout and a broken answer close
// the connection, since a late answer could otherwise be taken for the next
// call's; the next call reconnects. A JSON-RPC error
// leaves the connection open. An exception thrown by BeforeConnect goes on to
// the caller unchanged and leaves the connection closed.
//
// Several servers may serve one database (Servers, "host:port" each).
// Connect tries them in turn, starting with the one it was on last (after a
// lost connection, with the one after it), and fails only when all fail:
// with that server's reason when there is one, else with a sentence naming
// every reason. For each attempt Host and Port are the candidate's before
// BeforeConnect runs, so the hook can set credentials, TLS and fingerprint
// for Host():Port(); with Servers set, a Host or Port the hook sets is
// overruled by the candidate.
//
// A lost connection is made good at once: one that closes while idle is
// opened again on the next server that answers (logging in again with the
// password held, asking for notices again), and while none answers
// ServerChanged("") tells so and a timer tries again every few seconds.
// A call whose connection drops (or whose server falls silent) before its
// answer is sent again, once, on the next server when its method is one of
// ReadMethods; any other call (and a call that timed out) throws
// ConnectionLost and is never sent again by the connection, since nobody
// knows whether the server did what it asked; the next call reconnects.
// Once open again after a loss, Reconnected tells the owner that what it
// holds may have missed changes.
//
// Notices: with Notices on, the connect asks the server for change notices
// (see docs/protocol.md). Notices read while a call waits for its answer are
// kept and handed over (NoticesArrived) from the event loop after the call
// returns; notices arriving while idle are handed over as they come. A
// notice is never taken for an answer.
//
// Signals (ServerChanged, Reconnected, NoticesArrived) are never emitted
// while a call or a connect waits for the server, not even from an event
// loop the wait hook runs: their slots may call on this connection (the
// screen lists again after Reconnected), which would be refused. What falls
// due meanwhile is emitted in order from the event loop after the wait; an
// emission that finds another call under way waits for that one's end.
class TNetConnection final : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultConnectTimeout = 5000; // ms
    static constexpr int DefaultCallTimeout = 120000;  // ms
    static constexpr int DefaultIdleTimeout = 10000;   // ms
    static constexpr int ReconnectInterval = 3000;     // ms between tries while no server answers

    // A call's connection dropped, fell silent or timed out before its
    // answer: for a write, nobody knows whether the server stored it.
    class ConnectionLost : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

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

    // Asks for change notices at every connect.
    void SetNotices(bool on) { m_notices = on; }
    bool Notices() const { return m_notices; }
    // The servers serving one database, "host:port" each; empty: Host and
    // Port alone, as BeforeConnect leaves them.
    void SetServers(const QStringList &addresses);
    QStringList Servers() const { return m_servers; }
    // The "host:port" the open connection is on; empty when none.
    QString CurrentServer() const;
    // The methods that only read, so may be sent again on the next server
    // when the connection dropped before their answer.
    void SetReadMethods(const QStringList &methods) { m_readMethods = methods; }

    bool ThrowException() const { return m_throwException; }
    void SetThrowException(bool throwException) { m_throwException = throwException; }

    int ConnectTimeout() const { return m_connectTimeout; }
    void SetConnectTimeout(int milliseconds) { m_connectTimeout = milliseconds; }
    int CallTimeout() const { return m_callTimeout; }
    void SetCallTimeout(int milliseconds) { m_callTimeout = milliseconds; }
    // The longest a call waits without a byte from the server.
    int IdleTimeout() const { return m_idleTimeout; }
    void SetIdleTimeout(int milliseconds) { m_idleTimeout = milliseconds; }

    // Runs just before each connection attempt, with this connection.
    std::function<void(TNetConnection &)> BeforeConnect;

    // Connects unless already connected; see the class comment for failures.
    void Connect();
    // Closes the connection; does nothing when it is closed.
    void Disconnect();
    // Open and accepted by the server. A server that went away while the
    // connection sat idle is noticed by the event loop or, without one
    // running in between, by the next call; either reconnects.
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

signals:
    // The params of "quoteChanged" notices, in the order they arrived.
    void NoticesArrived(const QList<QJsonObject> &notices);
    // A connection was accepted on `address` (every one, the first
    // included); empty when the connection was lost and no server answers.
    void ServerChanged(const QString &address);
    // The connection was lost and is open again on `address`: what the
    // owner holds may have missed changes. Not for the first connection.
    void Reconnected(const QString &address);

private:
    void attempt(int serverIndex);
    void accepted(int serverIndex);
    void connectQuietly();
    void markLost();
    void noServer();
    void whenIdle(std::function<void()> emission);
    void tellLater();
    void emitDue();
    void handOverNotices();
    void serverClosed();
    QJsonValue call(const QString &method, const QList<TNetArg> &args, std::optional<PacketColumns> *packet);
    void open();
    void startTls(const QDeadlineTimer &deadline);
    QJsonArray connectParams() const;
    std::runtime_error cannotConnect(const QString &reason) const;
    QJsonObject exchange(const QString &method, const QJsonArray &params, const QDeadlineTimer &deadline, int silenceLimit,
                         std::optional<PacketColumns> *packet = nullptr);
    QJsonObject readAnswer(qint64 id, SocketWait &wait, std::optional<PacketColumns> *packet);
    QJsonValue takeResult(const QString &method, const QJsonObject &answer, const QList<TNetArg> &args) const;
    bool peerStillThere();
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
    bool m_waiting = false; // a call or a connect waits for the server
    int m_connectTimeout = DefaultConnectTimeout;
    int m_callTimeout = DefaultCallTimeout;
    int m_idleTimeout = DefaultIdleTimeout;
    QString m_lastError;
    int m_lastErrorCode = 0;
    QString m_offeredFingerprint;
    bool m_notices = false;
    QStringList m_servers;
    QStringList m_readMethods;
    int m_firstServer = 0;   // where the next Connect starts in m_servers
    int m_openServer = 0;    // the one the connection is (or was last) on
    bool m_lost = false;     // lost and not open again yet
    bool m_announcedNone = false; // ServerChanged("") said since the last accepted connection
    QTimer m_reconnect;
    QList<QJsonObject> m_heldNotices; // read during a call, not handed over yet
    QList<std::function<void()>> m_due; // emissions held back by a wait, in order

    std::unique_ptr<QTcpSocket> m_socket; // only while connected
    QByteArray m_received; // what arrived after the last answer read
    qint64 m_nextId = 1;
};
