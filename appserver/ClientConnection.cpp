#include "ClientConnection.h"

#include "CallLog.h"
#include "RpcSession.h"

#include <QAtomicInteger>
#include <QTcpSocket>

namespace {

QAtomicInteger<quint64> connectionCounter;

} // namespace

ClientConnection::ClientConnection(qintptr socketDescriptor, const DatabaseLocation &location, qint64 maxLineLength, int busyTimeoutMs)
    : m_descriptor(socketDescriptor),
      m_location(location),
      m_busyTimeoutMs(busyTimeoutMs),
      m_maxLineLength(maxLineLength),
      m_buffer(maxLineLength)
{
}

ClientConnection::~ClientConnection()
{
    finish();
}

void ClientConnection::start()
{
    m_socket = new QTcpSocket(this);
    if (!m_socket->setSocketDescriptor(m_descriptor)) {
        finish();
        return;
    }
    const QString peer = QStringLiteral("%1:%2").arg(m_socket->peerAddress().toString()).arg(m_socket->peerPort());
    m_connectionName = QStringLiteral("appserver-connection-%1").arg(connectionCounter.fetchAndAddRelaxed(1));
    try {
        m_session = std::make_unique<RpcSession>(m_location.open(m_connectionName, m_busyTimeoutMs), peer);
    } catch (const std::exception &error) {
        CallLog::write(peer, QStringLiteral("connect"), 0, QStringLiteral("sem banco de dados: %1").arg(QString::fromUtf8(error.what())));
        finish();
        return;
    }
    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::readRequests);
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::finish);
    readRequests();
}

void ClientConnection::stop()
{
    finish();
}

void ClientConnection::readRequests()
{
    if (!m_socket || !m_session) {
        return;
    }
    m_buffer.append(m_socket->readAll());
    while (m_socket->state() == QAbstractSocket::ConnectedState) {
        const auto item = m_buffer.next();
        if (!item) {
            break;
        }
        if (item->oversized) {
            m_socket->write(m_session->oversized(m_maxLineLength));
            continue;
        }
        if (item->text.trimmed().isEmpty()) {
            continue;
        }
        m_socket->write(m_session->handle(item->text));
    }
    m_socket->flush();
}

void ClientConnection::finish()
{
    if (m_finished) {
        return;
    }
    m_finished = true;
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    if (m_session) {
        m_session.reset();
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
    }
    emit finished();
}
