#include "AppServer.h"

#include "CallLog.h"
#include "CallDeadline.h"
#include "RpcError.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <sys/socket.h>

namespace {

// After a failed accept (the process out of descriptors after all), accepting
// resumes after this pause instead of spinning or stopping for good.
constexpr int acceptPauseMs = 100;

QString peerAddressOf(qintptr descriptor)
{
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (::getpeername(int(descriptor), reinterpret_cast<sockaddr *>(&storage), &length) != 0) {
        return QString();
    }
    return QHostAddress(reinterpret_cast<const sockaddr *>(&storage)).toString();
}

} // namespace

AppServer::AppServer(const ClientConnection::Settings &settings, const Limits &limits, QObject *parent)
    : QTcpServer(parent), m_settings(settings), m_limits(limits)
{
    connect(this, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError) {
        CallLog::note(QStringLiteral("falha ao aceitar uma conexão: %1").arg(errorString()));
        pauseAccepting();
        QTimer::singleShot(acceptPauseMs, this, &QTcpServer::resumeAccepting);
    });
}

AppServer::~AppServer()
{
    shutdown(0);
}

void AppServer::incomingConnection(qintptr socketDescriptor)
{
    const QString address = peerAddressOf(socketDescriptor);
    if (m_connections.size() >= m_limits.maxConnections) {
        refuse(socketDescriptor, QStringLiteral("servidor ocupado: %1 conexões abertas, o limite").arg(m_connections.size()));
        return;
    }
    if (m_perAddress.value(address) >= m_limits.maxConnectionsPerAddress) {
        refuse(socketDescriptor, QStringLiteral("conexões demais do endereço %1 (limite %2)").arg(address).arg(m_limits.maxConnectionsPerAddress));
        return;
    }
    // Counted as waiting until its connect is accepted (ClientConnection).
    if (!m_settings.classes->admitWaiting(address)) {
        refuse(socketDescriptor, QStringLiteral("conexões demais ainda sem connect (limite %1, %2 por endereço)")
                                     .arg(m_settings.classes->maxWaiting())
                                     .arg(m_settings.classes->maxWaitingPerAddress()));
        return;
    }
    auto *thread = new QThread;
    auto *connection = new ClientConnection(socketDescriptor, address, m_settings);
    connection->moveToThread(thread);
    connect(thread, &QThread::started, connection, &ClientConnection::start);
    // Direct: the main thread may be blocked in shutdown() waiting for it.
    connect(connection, &ClientConnection::finished, thread, &QThread::quit, Qt::DirectConnection);
    connect(thread, &QThread::finished, connection, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, thread] {
        const Running running = m_connections.take(thread);
        if (--m_perAddress[running.address] <= 0) {
            m_perAddress.remove(running.address);
        }
        thread->deleteLater();
    });
    m_connections.insert(thread, Running{connection, address});
    ++m_perAddress[address];
    thread->start();
}

void AppServer::refuse(qintptr socketDescriptor, const QString &why)
{
    CallLog::note(QStringLiteral("conexão recusada: %1").arg(why));
    auto *socket = new QTcpSocket(this);
    socket->setSocketDescriptor(socketDescriptor);
    const QJsonObject error{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                            {QStringLiteral("id"), QJsonValue()},
                            {QStringLiteral("error"), QJsonObject{{QStringLiteral("code"), int(RpcError::ServerBusy)},
                                                                  {QStringLiteral("message"), why}}}};
    // Sent without waiting: a refused client gets what fits in the socket's
    // buffer (the whole line, in practice) and its descriptor goes at once.
    socket->write(QJsonDocument(error).toJson(QJsonDocument::Compact) + '\n');
    socket->flush();
    socket->close();
    socket->deleteLater();
}

bool AppServer::shutdown(int timeoutMs)
{
    close();
    CallDeadline::stopAllWithin(timeoutMs);
    const auto connections = m_connections;
    for (auto it = connections.constBegin(); it != connections.constEnd(); ++it) {
        QMetaObject::invokeMethod(it.value().connection, &ClientConnection::stop, Qt::QueuedConnection);
    }
    // Beyond the statements' deadline, a little for their rollback.
    const QDeadlineTimer deadline(timeoutMs + 2000);
    int stuck = 0;
    for (QThread *thread : connections.keys()) {
        if (!thread->wait(deadline)) {
            ++stuck;
        }
    }
    if (stuck > 0) {
        CallLog::note(QStringLiteral("%1 conexão(ões) ainda em uma chamada após %2 ms; encerrando sem elas").arg(stuck).arg(timeoutMs));
        return false;
    }
    m_connections.clear();
    m_perAddress.clear();
    return true;
}
