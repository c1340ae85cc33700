#pragma once

#include <QHash>
#include <QMutex>
#include <QString>
#include <QThread>

#include <memory>

// A loopback listener that forwards each connection it accepts to a target
// server, so a test can make that server slow, frozen or cut off at a chosen
// request without touching the server itself. Its sockets live in a thread
// of their own, since the client under test blocks the test's thread while
// it waits. Requests (one JSON-RPC message per line) are seen line by line;
// a rule set for a method applies to the next request of that method, on
// any connection, and then is spent. Rules may be set from any thread.
class LoopbackProxy final {
public:
    LoopbackProxy(const QString &targetHost, quint16 targetPort);
    ~LoopbackProxy();

    quint16 port() const { return m_port; }

    // The request goes on after `milliseconds`; later ones wait behind it.
    void delay(const QString &method, int milliseconds) { setRule(method, Rule{Rule::Kind::Delay, milliseconds}); }
    // Both sides are closed when the request arrives; it never reaches the server.
    void drop(const QString &method) { setRule(method, Rule{Rule::Kind::Drop, 0}); }
    // The request reaches the server; both sides are closed before its answer.
    void dropAfterForward(const QString &method) { setRule(method, Rule{Rule::Kind::DropAfterForward, 0}); }
    // Nothing more goes either way on that connection, whose sockets stay
    // open: a stopped server, as the client sees it.
    void freeze(const QString &method) { setRule(method, Rule{Rule::Kind::Freeze, 0}); }

    // The requests of `method` seen so far, on every connection.
    int seen(const QString &method) const;

private:
    struct Rule {
        enum class Kind { Forward, Delay, Drop, DropAfterForward, Freeze };
        Kind kind = Kind::Forward;
        int milliseconds = 0;
    };
    struct Shared {
        mutable QMutex mutex;
        QHash<QString, Rule> rules;
        QHash<QString, int> seen;
    };
    class Worker;
    void setRule(const QString &method, Rule rule);

    std::shared_ptr<Shared> m_shared = std::make_shared<Shared>();
    QThread m_thread;
    Worker *m_worker = nullptr;
    quint16 m_port = 0;
};
