#pragma once

#include "ScriptedPeer.h"

#include <QHash>
#include <QObject>

class QTcpServer;
class QTcpSocket;

// The part of ScriptedPeer that lives in the peer's thread.
class PeerWorker final : public QObject {
    Q_OBJECT
public:
    explicit PeerWorker(std::shared_ptr<ScriptedPeer::Shared> shared);

    Q_INVOKABLE quint16 listen();
    Q_INVOKABLE void dropClients();
    Q_INVOKABLE void shutDown();

private:
    void accept();
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QJsonObject &request);
    void answerConnect(QTcpSocket *socket, const QJsonObject &request);

    std::shared_ptr<ScriptedPeer::Shared> m_shared;
    QTcpServer *m_server = nullptr;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
