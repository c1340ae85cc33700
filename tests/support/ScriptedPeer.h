#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QMutex>
#include <QThread>

#include <memory>

class PeerWorker;
class TestCertificate;

// A stand-in for the application server in tests of the client's socket
// handling: a loopback listener in its own thread (the client under test
// blocks the test's thread) that answers each request line as the test
// scripted it. "connect" is answered by the connect mode (and, once an
// operator is required, by the credentials it carries); every other request
// takes the next queued reply (none queued: no answer at all). Made with a
// certificate, the peer speaks only TLS and presents that certificate.
class ScriptedPeer final {
public:
    enum class ConnectMode { Accept, Refuse, Ignore };

    // One scripted reaction. In raw chunks "%ID%" stands for the request's id
    // and "%NEXT%" for the id after it; chunks go out as separate writes.
    struct Reply {
        enum class Kind { Chunks, Close, Silent };
        Kind kind = Kind::Silent;
        QList<QByteArray> chunks;
    };

    ScriptedPeer();
    explicit ScriptedPeer(const TestCertificate &certificate);
    ~ScriptedPeer();

    quint16 port() const { return m_port; }

    void setConnectMode(ConnectMode mode);
    // An accepted connect must carry {"operator":..,"password":..} with
    // these values: without them it is refused with -32004, with others
    // with -32005, as a server with operators does.
    void requireOperator(const QString &operatorCode, const QString &password);
    void replyResult(const QJsonValue &value, const QJsonObject &refs = {});
    void replyError(int code, const QString &message);
    void replyRaw(const QList<QByteArray> &chunks);
    void closeOnNextRequest();
    void stayQuiet();
    // Closes every open client connection now, as a restarted server would.
    void dropClients();

    QList<QJsonObject> requests() const;   // every request line, connect included
    QList<QJsonObject> calls() const;      // the requests other than connect
    int connectionCount() const;

    static QByteArray line(const QJsonObject &message);

private:
    friend class PeerWorker;
    struct Shared {
        mutable QMutex mutex;
        ConnectMode connectMode = ConnectMode::Accept;
        QJsonObject credentials; // empty: no operator required
        QList<Reply> replies;
        QList<QJsonObject> requests;
        int connections = 0;
    };

    void enqueue(const Reply &reply);

    void start(PeerWorker *worker);

    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    QThread m_thread;
    PeerWorker *m_worker = nullptr;
    quint16 m_port = 0;
};
