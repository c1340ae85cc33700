#include "AppServer.h"

#include "ClientConnection.h"

#include <QThread>

AppServer::AppServer(const DatabaseLocation &location, const Limits &limits, QObject *parent)
    : QTcpServer(parent), m_location(location), m_limits(limits)
{
}

AppServer::~AppServer()
{
    shutdown();
}

void AppServer::incomingConnection(qintptr socketDescriptor)
{
    auto *thread = new QThread;
    auto *connection = new ClientConnection(socketDescriptor, m_location, m_limits.maxLineLength, m_limits.busyTimeoutMs);
    connection->moveToThread(thread);
    connect(thread, &QThread::started, connection, &ClientConnection::start);
    // Direct: the main thread may be blocked in shutdown() waiting for it.
    connect(connection, &ClientConnection::finished, thread, &QThread::quit, Qt::DirectConnection);
    connect(thread, &QThread::finished, connection, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, thread] {
        m_connections.remove(thread);
        thread->deleteLater();
    });
    m_connections.insert(thread, connection);
    thread->start();
}

void AppServer::shutdown()
{
    close();
    const auto connections = m_connections;
    for (auto it = connections.constBegin(); it != connections.constEnd(); ++it) {
        QMetaObject::invokeMethod(it.value(), &ClientConnection::stop, Qt::QueuedConnection);
    }
    for (QThread *thread : connections.keys()) {
        thread->wait();
    }
    m_connections.clear();
}
