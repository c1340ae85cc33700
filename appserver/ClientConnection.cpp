#include "ClientConnection.h"

#include "CallLog.h"
#include "RpcSession.h"

#include <QDeadlineTimer>
#include <QScopedValueRollback>
#include <QSslSocket>

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>

namespace {

// How often a client holding an answer back is looked at for bytes taken.
constexpr int progressCheckMs = 200;
// What is read ahead of the request being answered: a client that sends
// faster than it reads its answers is held back by TCP, not by our memory.
constexpr qint64 readAheadBytes = 64 * 1024;

} // namespace

ClientConnection::ClientConnection(qintptr socketDescriptor, const QString &address, const Settings &settings)
    : m_descriptor(socketDescriptor), m_address(address), m_settings(settings), m_buffer(settings.maxLineLength)
{
}

ClientConnection::~ClientConnection()
{
    finish();
}

void ClientConnection::start()
{
    QSslSocket *tlsSocket = m_settings.tls ? new QSslSocket(this) : nullptr;
    m_socket = tlsSocket ? tlsSocket : new QTcpSocket(this);
    if (!m_socket->setSocketDescriptor(m_descriptor)) {
        finish();
        return;
    }
    m_socket->setReadBufferSize(readAheadBytes);
    // A notice written between two answers must not hold the next answer
    // back until the client acknowledges it (Nagle's wait for the delayed
    // acknowledgement); answers and notices are whole lines, written at once.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_peer = QStringLiteral("%1:%2").arg(m_socket->peerAddress().toString()).arg(m_socket->peerPort());
    NoticeHub *hub = m_settings.notices.get();
    m_origin = hub ? hub->newOrigin() : QString();
    m_session = std::make_unique<RpcSession>(
        RpcSession::Settings{m_settings.database.get(), m_settings.requireOperators,
                             [classes = m_settings.classes, address = m_address](const QString &code) { return classes->accept(address, code); },
                             NoticeSource{hub, m_origin, [this] { return clientStillThere(); }},
                             [this, hub] { hub->subscribe(m_origin, this, [this] { sendNotices(); }); }},
        m_peer);

    m_handshake = new QTimer(this);
    m_handshake->setSingleShot(true);
    connect(m_handshake, &QTimer::timeout, this, [this] { expire(QStringLiteral("sem connect em %1 ms").arg(m_settings.handshakeTimeoutMs)); });
    m_handshake->start(m_settings.handshakeTimeoutMs);
    m_idle = new QTimer(this);
    m_idle->setSingleShot(true);
    connect(m_idle, &QTimer::timeout, this, [this] { expire(QStringLiteral("ociosa por %1 ms").arg(m_settings.idleTimeoutMs)); });
    m_line = new QTimer(this);
    m_line->setSingleShot(true);
    connect(m_line, &QTimer::timeout, this, [this] { expire(QStringLiteral("mensagem começada e não terminada em %1 ms").arg(m_settings.lineTimeoutMs)); });

    connect(m_socket, &QTcpSocket::readyRead, this, &ClientConnection::readRequests);
    // Queued: waiting for room to send an answer may notice the client
    // leaving while the session is still answering.
    connect(m_socket, &QTcpSocket::disconnected, this, &ClientConnection::finish, Qt::QueuedConnection);
    if (tlsSocket) {
        connect(tlsSocket, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &errors) {
            expire(QStringLiteral("TLS recusado: %1").arg(errors.value(0).errorString()));
        });
        tlsSocket->setSslConfiguration(*m_settings.tls);
        tlsSocket->startServerEncryption();
        return; // requests are read once the handshake is through
    }
    readRequests();
}

bool ClientConnection::clientStillThere() const
{
    // Asked from inside a call, whose thread this is: the socket's events
    // are not being taken, so the system is asked directly, without reading
    // anything the connection has not read yet.
    if (!m_socket || m_socket->socketDescriptor() < 0) {
        return false;
    }
    char next = 0;
    const ssize_t peeked = ::recv(int(m_socket->socketDescriptor()), &next, 1, MSG_PEEK | MSG_DONTWAIT);
    return peeked > 0 || (peeked < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR));
}

void ClientConnection::stop()
{
    finish();
}

void ClientConnection::expire(const QString &why)
{
    if (m_finished || m_answering) {
        return;
    }
    CallLog::write(m_peer, QString(), 0, QStringLiteral("conexão encerrada: %1").arg(why));
    finish();
}

void ClientConnection::readRequests()
{
    // Waiting for room to send an answer reads too; what arrives meanwhile
    // waits for that answer, as requests are answered in order.
    if (!m_socket || !m_session || m_answering) {
        return;
    }
    answerRequests();
    sendNotices();
}

void ClientConnection::answerRequests()
{
    const QScopedValueRollback answering(m_answering, true);
    const AnswerStream::Sender sender = [this](const QByteArray &bytes) { return send(bytes); };
    while (m_socket->state() == QAbstractSocket::ConnectedState) {
        // Bytes are taken from the socket only when no whole line is
        // waiting, so no more than one line and a read-ahead are held.
        auto item = m_buffer.next();
        if (!item) {
            if (!m_settings.partialLines->hold(m_heldBytes, m_buffer.unfinishedBytes())) {
                send(m_session->unread(RpcError::ServerBusy, QStringLiteral("mensagens incompletas de todas as conexões passam do limite de %1 bytes do servidor")
                                                                 .arg(m_settings.partialLines->limit())));
                hangUp();
                break;
            }
            const QByteArray more = m_socket->readAll();
            if (more.isEmpty()) {
                if (m_buffer.midLine() && !m_line->isActive()) {
                    m_line->start(m_settings.lineTimeoutMs);
                }
                break;
            }
            m_buffer.append(more);
            continue;
        }
        m_line->stop();
        bool keep = true;
        if (item->oversized) {
            keep = send(m_session->unread(RpcError::InvalidRequest, QStringLiteral("mensagem maior que o limite de %1 bytes").arg(m_settings.maxLineLength)));
        } else if (!item->text.trimmed().isEmpty()) {
            keep = m_session->handle(item->text, sender);
        }
        if (m_session->isConnected()) {
            m_handshake->stop();
        }
        m_idle->start(m_settings.idleTimeoutMs);
        if (!keep) {
            hangUp();
            break;
        }
    }
}

// Notices heard during an answer wait for its end: a notice never goes
// inside or ahead of an answer line.
void ClientConnection::sendNotices()
{
    if (m_answering || m_finished || !m_settings.notices) {
        return;
    }
    const NoticeHub::Waiting waiting = m_settings.notices->take(m_origin);
    if (waiting.lines.isEmpty() && !waiting.overflowed) {
        return;
    }
    const qint64 limit = m_settings.notices->maxWaitingBytes();
    if (waiting.overflowed || m_socket->bytesToWrite() + waiting.lines.size() > limit) {
        // It lists again when it reconnects, and so sees what it missed.
        CallLog::write(m_peer, QString(), 0, QStringLiteral("conexão encerrada: o cliente não lê os avisos de alteração "
                                                             "(mais de %1 bytes esperando por ele)").arg(limit));
        finish();
        return;
    }
    m_socket->write(waiting.lines);
}

void ClientConnection::hangUp()
{
    m_socket->flush();
    m_socket->disconnectFromHost();
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
    // the whole answer piling up in the socket's buffer. Only a client that
    // takes no byte for the stall time is dropped: the system reports room
    // to write only once much of its buffer has drained, which a slow but
    // steady reader may take longer than that to do.
    QDeadlineTimer stalled(m_settings.stallTimeoutMs);
    qint64 untaken = untakenBytes();
    while (m_socket->bytesToWrite() > AnswerStream::chunkBytes) {
        m_socket->waitForBytesWritten(progressCheckMs);
        if (m_socket->state() != QAbstractSocket::ConnectedState) {
            return false;
        }
        const qint64 left = untakenBytes();
        if (left < untaken) {
            stalled.setRemainingTime(m_settings.stallTimeoutMs);
        } else if (stalled.hasExpired()) {
            // Dropped at once: closing gracefully would wait for the client
            // to take what is still waiting, which it does not.
            m_socket->abort();
            return false;
        }
        untaken = left;
    }
    return true;
}

// What the client has not yet taken of what was sent: in the socket's
// buffer and in the system's, sent or not, until the client acknowledges it.
qint64 ClientConnection::untakenBytes() const
{
    int queued = 0;
    ::ioctl(int(m_socket->socketDescriptor()), SIOCOUTQ, &queued);
    return m_socket->bytesToWrite() + queued;
}

void ClientConnection::finish()
{
    if (m_finished) {
        return;
    }
    m_finished = true;
    if (m_settings.notices) {
        m_settings.notices->unsubscribe(m_origin);
    }
    // Counted out before the client can see the connection close, so that
    // its next connection finds the slot free.
    const bool accepted = m_session && m_session->isConnected();
    m_settings.classes->leave(accepted, m_address, accepted ? m_session->operatorCode() : QString());
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    m_session.reset();
    m_buffer.clear();
    m_settings.partialLines->hold(m_heldBytes, 0);
    emit finished();
}
