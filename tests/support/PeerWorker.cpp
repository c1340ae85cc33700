#include "PeerWorker.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMutexLocker>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

QByteArray errorLine(const QJsonValue &id, int code, const QString &message)
{
    return ScriptedPeer::line({{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
                               {QStringLiteral("error"), QJsonObject{{QStringLiteral("code"), code},
                                                                     {QStringLiteral("message"), message}}}});
}

} // namespace

PeerWorker::PeerWorker(std::shared_ptr<ScriptedPeer::Shared> shared, std::optional<QSslConfiguration> tls)
    : m_shared(std::move(shared))
    , m_tls(std::move(tls))
{
}

quint16 PeerWorker::listen()
{
    if (m_tls) {
        auto *server = new QSslServer(this);
        server->setSslConfiguration(*m_tls);
        m_server = server;
    } else {
        m_server = new QTcpServer(this);
    }
    // Over TLS a connection is pending only once its handshake is done,
    // long after the listener announced a new connection.
    connect(m_server, &QTcpServer::pendingConnectionAvailable, this, &PeerWorker::accept);
    if (!m_server->listen(QHostAddress::LocalHost, 0)) {
        return 0;
    }
    return m_server->serverPort();
}

void PeerWorker::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        {
            QMutexLocker lock(&m_shared->mutex);
            ++m_shared->connections;
        }
        m_pending.insert(socket, QByteArray());
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
        // Over TLS the first request may have come with the end of the
        // handshake, before anyone listened.
        if (socket->bytesAvailable() > 0) {
            readFrom(socket);
        }
    }
}

void PeerWorker::readFrom(QTcpSocket *socket)
{
    QByteArray &pending = m_pending[socket];
    pending += socket->readAll();
    qsizetype end;
    while ((end = pending.indexOf('\n')) >= 0) {
        const QJsonObject request = QJsonDocument::fromJson(pending.left(end)).object();
        pending.remove(0, end + 1);
        {
            QMutexLocker lock(&m_shared->mutex);
            m_shared->requests.append(request);
        }
        if (request.value(QStringLiteral("method")) == QJsonValue(QStringLiteral("connect"))) {
            answerConnect(socket, request);
        } else {
            answer(socket, request);
        }
        if (!m_pending.contains(socket)) {
            return; // closed by the reply
        }
    }
}

void PeerWorker::answerConnect(QTcpSocket *socket, const QJsonObject &request)
{
    ScriptedPeer::ConnectMode mode;
    QJsonObject required;
    {
        QMutexLocker lock(&m_shared->mutex);
        mode = m_shared->connectMode;
        required = m_shared->credentials;
    }
    if (mode == ScriptedPeer::ConnectMode::Ignore) {
        return;
    }
    const QJsonValue id = request.value(QStringLiteral("id"));
    // The credentials travel beside other wishes (notices) in one object.
    const QJsonObject given = request.value(QStringLiteral("params")).toArray().at(1).toObject();
    const auto credential = [&given](const char *key) { return given.value(QLatin1String(key)); };
    if (mode == ScriptedPeer::ConnectMode::Refuse) {
        socket->write(errorLine(id, -32001, QStringLiteral("servidor desconhecido: \"X\"")));
    } else if (!required.isEmpty() && !given.contains(QStringLiteral("operator"))) {
        socket->write(errorLine(id, -32004, QStringLiteral("o servidor exige operador e senha")));
    } else if (!required.isEmpty()
               && (credential("operator") != required.value(QStringLiteral("operator"))
                   || credential("password") != required.value(QStringLiteral("password")))) {
        socket->write(errorLine(id, -32005, QStringLiteral("operador ou senha inválidos")));
    } else {
        socket->write(ScriptedPeer::line({{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
                                          {QStringLiteral("result"), QJsonObject{{QStringLiteral("value"), QJsonValue()}}}}));
    }
}

void PeerWorker::answer(QTcpSocket *socket, const QJsonObject &request)
{
    ScriptedPeer::Reply reply;
    {
        QMutexLocker lock(&m_shared->mutex);
        if (!m_shared->replies.isEmpty()) {
            reply = m_shared->replies.takeFirst();
        }
    }
    if (reply.kind == ScriptedPeer::Reply::Kind::Close) {
        m_pending.remove(socket);
        socket->close();
        socket->deleteLater();
        return;
    }
    const qint64 id = request.value(QStringLiteral("id")).toInteger();
    for (qsizetype i = 0; i < reply.chunks.size(); ++i) {
        QByteArray chunk = reply.chunks.at(i);
        chunk.replace("%ID%", QByteArray::number(id)).replace("%NEXT%", QByteArray::number(id + 1));
        socket->write(chunk);
        socket->flush();
        if (i + 1 < reply.chunks.size()) {
            // Gives the client time to read what came so far on its own.
            QThread::msleep(40);
        }
    }
}

void PeerWorker::dropClients()
{
    const QList<QTcpSocket *> sockets = m_pending.keys();
    m_pending.clear();
    for (QTcpSocket *socket : sockets) {
        socket->close();
        socket->deleteLater();
    }
}

void PeerWorker::shutDown()
{
    dropClients();
    delete m_server;
    m_server = nullptr;
}
