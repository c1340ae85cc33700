#include "PeerWorker.h"

#include <QJsonDocument>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

PeerWorker::PeerWorker(std::shared_ptr<ScriptedPeer::Shared> shared)
    : m_shared(std::move(shared))
{
}

quint16 PeerWorker::listen()
{
    m_server = new QTcpServer(this);
    connect(m_server, &QTcpServer::newConnection, this, &PeerWorker::accept);
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
    {
        QMutexLocker lock(&m_shared->mutex);
        mode = m_shared->connectMode;
    }
    const QJsonValue id = request.value(QStringLiteral("id"));
    if (mode == ScriptedPeer::ConnectMode::Accept) {
        socket->write(ScriptedPeer::line({{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
                                          {QStringLiteral("result"), QJsonObject{{QStringLiteral("value"), QJsonValue()}}}}));
    } else if (mode == ScriptedPeer::ConnectMode::Refuse) {
        socket->write(ScriptedPeer::line(
            {{QStringLiteral("jsonrpc"), QStringLiteral("2.0")}, {QStringLiteral("id"), id},
             {QStringLiteral("error"), QJsonObject{{QStringLiteral("code"), -32001},
                                                   {QStringLiteral("message"), QStringLiteral("servidor desconhecido: \"X\"")}}}}));
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
