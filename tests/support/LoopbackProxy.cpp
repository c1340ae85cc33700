#include "LoopbackProxy.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <utility>

namespace {

// One connection through the proxy: the client's socket, the one to the
// target, and the client's bytes not forwarded yet.
struct Pair final : QObject {
    using QObject::QObject;
    QTcpSocket *client = nullptr;
    QTcpSocket *server = nullptr;
    QByteArray pending;
    bool paused = false; // a delayed request holds back the ones behind it
    bool frozen = false;
    bool ended = false;
};

QString methodOf(const QByteArray &line)
{
    return QJsonDocument::fromJson(line).object().value(QStringLiteral("method")).toString();
}

} // namespace

// The part of the proxy that lives in its thread, with every socket.
class LoopbackProxy::Worker final : public QObject {
public:
    Worker(std::shared_ptr<Shared> shared, QString host, quint16 port)
        : m_shared(std::move(shared))
        , m_host(std::move(host))
        , m_port(port)
        , m_listener(new QTcpServer(this))
    {
        connect(m_listener, &QTcpServer::newConnection, this, [this] { accept(); });
    }

    quint16 listen() { return m_listener->listen(QHostAddress::LocalHost, 0) ? m_listener->serverPort() : 0; }

private:
    void accept()
    {
        while (QTcpSocket *client = m_listener->nextPendingConnection()) {
            auto *pair = new Pair(this);
            client->setParent(pair);
            pair->client = client;
            pair->server = new QTcpSocket(pair);
            // Requests wait in the client's socket until the server can take them.
            connect(pair->server, &QTcpSocket::connected, pair, [this, pair] {
                connect(pair->client, &QTcpSocket::readyRead, pair, [this, pair] { fromClient(pair); });
                fromClient(pair);
            });
            connect(pair->server, &QTcpSocket::readyRead, pair, [this, pair] { fromServer(pair); });
            connect(pair->client, &QTcpSocket::disconnected, pair, [this, pair] { end(pair, true); });
            // A stopped server closes nothing; a server that refuses or
            // closes takes its client with it, after what it sent.
            const auto serverGone = [this, pair] {
                if (!pair->frozen && pair->server->state() != QAbstractSocket::ConnectedState) {
                    end(pair, true);
                }
            };
            connect(pair->server, &QTcpSocket::disconnected, pair, serverGone);
            connect(pair->server, &QTcpSocket::errorOccurred, pair, serverGone);
            pair->server->connectToHost(m_host, m_port);
        }
    }

    Rule take(const QString &method)
    {
        QMutexLocker lock(&m_shared->mutex);
        ++m_shared->seen[method];
        return m_shared->rules.take(method);
    }

    void fromClient(Pair *pair)
    {
        pair->pending += pair->client->readAll();
        qsizetype end;
        while (!pair->paused && !pair->frozen && !pair->ended && (end = pair->pending.indexOf('\n')) >= 0) {
            const QByteArray line = pair->pending.left(end + 1);
            pair->pending.remove(0, end + 1);
            const Rule rule = take(methodOf(line));
            switch (rule.kind) {
            case Rule::Kind::Forward:
                pair->server->write(line);
                break;
            case Rule::Kind::Delay:
                pair->paused = true;
                QTimer::singleShot(rule.milliseconds, pair, [this, pair, line] {
                    pair->paused = false;
                    if (!pair->ended) {
                        pair->server->write(line);
                        fromClient(pair);
                    }
                });
                break;
            case Rule::Kind::Drop:
                this->end(pair, false);
                break;
            case Rule::Kind::DropAfterForward:
                pair->server->write(line);
                this->end(pair, false);
                break;
            case Rule::Kind::Freeze:
                pair->frozen = true;
                break;
            }
        }
        if (pair->frozen) {
            pair->pending.clear();
        }
    }

    void fromServer(Pair *pair)
    {
        const QByteArray bytes = pair->server->readAll();
        if (!pair->frozen && !pair->ended) {
            pair->client->write(bytes);
        }
    }

    // Closes both sides once what was written to them has left; with
    // `passOn`, after what the server sent is on its way to the client.
    void end(Pair *pair, bool passOn)
    {
        if (passOn) {
            fromServer(pair);
        }
        if (std::exchange(pair->ended, true)) {
            return;
        }
        for (QTcpSocket *side : {pair->client, pair->server}) {
            side->flush();
            side->disconnectFromHost();
        }
        pair->deleteLater();
    }

    std::shared_ptr<Shared> m_shared;
    QString m_host;
    quint16 m_port;
    QTcpServer *m_listener;
};

LoopbackProxy::LoopbackProxy(const QString &targetHost, quint16 targetPort)
    : m_worker(new Worker(m_shared, targetHost, targetPort))
{
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
    QMetaObject::invokeMethod(m_worker, [this] { return m_worker->listen(); }, Qt::BlockingQueuedConnection, &m_port);
}

LoopbackProxy::~LoopbackProxy()
{
    m_thread.quit();
    m_thread.wait();
}

void LoopbackProxy::setRule(const QString &method, Rule rule)
{
    QMutexLocker lock(&m_shared->mutex);
    m_shared->rules.insert(method, rule);
}

int LoopbackProxy::seen(const QString &method) const
{
    QMutexLocker lock(&m_shared->mutex);
    return m_shared->seen.value(method);
}
