#include "ClientConnection.h"

#include "CallLog.h"
#include "RpcSession.h"

#include <QAtomicInteger>
#include <QScopedValueRollback>
#include <QTcpSocket>

namespace {

QAtomicInteger<quint64> connectionCounter;

// A client that takes no byte of an answer for this long is taken for gone.
constexpr int stalledClientMs = 30000;

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
    // Queued: waiting for room to send an answer may notice the client
    // leaving while the session is still answering.
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::finish, Qt::QueuedConnection);
    readRequests();
}

void ClientConnection::stop()
{
    finish();
}

void ClientConnection::readRequests()
{
    // Waiting for room to send an answer reads too; what arrives meanwhile
    // waits for that answer, as requests are answered in order.
    if (!m_socket || !m_session || m_answering) {
        return;
    }
    const QScopedValueRollback answering(m_answering, true);
    const AnswerStream::Sender sender = [this](const QByteArray &bytes) { return send(bytes); };
    while (m_socket->state() == QAbstractSocket::ConnectedState) {
        m_buffer.append(m_socket->readAll());
        const auto item = m_buffer.next();
        if (!item) {
            break;
        }
        if (item->oversized) {
            send(m_session->oversized(m_maxLineLength));
        } else if (!item->text.trimmed().isEmpty() && !m_session->handle(item->text, sender)) {
            m_socket->abort();
        }
    }
}

bool ClientConnection::send(const QByteArray &bytes)
{
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        return false;
    }
    m_socket->write(bytes);
    // This thread is busy answering: left to the event loop, nothing would
    // leave before the whole answer is written.
    m_socket->flush();
    // A client slower than the query holds the rest back here, instead of
    // the whole answer piling up in the socket's buffer.
    while (m_socket->bytesToWrite() > AnswerStream::chunkBytes) {
        if (!m_socket->waitForBytesWritten(stalledClientMs)) {
            return false;
        }
    }
    return true;
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
