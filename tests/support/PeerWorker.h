#pragma once

#include "ScriptedPeer.h"

#include <QHash>
#include <QObject>
#include <QSslConfiguration>

#include <optional>

class QTcpServer;
class QTcpSocket;

// The part of ScriptedPeer that lives in the peer's thread.
class PeerWorker final : public QObject {
    Q_OBJECT
public:
    // With `tls`, connections are accepted only over TLS with it.
    PeerWorker(std::shared_ptr<ScriptedPeer::Shared> shared, std::optional<QSslConfiguration> tls);

    Q_INVOKABLE quint16 listen();
    Q_INVOKABLE void dropClients();
    Q_INVOKABLE void shutDown();

private:
    void accept();
    void readFrom(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const QJsonObject &request);
    void answerConnect(QTcpSocket *socket, const QJsonObject &request);

    std::shared_ptr<ScriptedPeer::Shared> m_shared;
    std::optional<QSslConfiguration> m_tls;
    QTcpServer *m_server = nullptr;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
