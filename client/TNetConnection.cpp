#include "TNetConnection.h"

#include "AnswerReader.h"
#include "ServerCertificate.h"
#include "ServerNotices.h"
#include "SocketWait.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QScopeGuard>
#include <QSslSocket>
#include <QTcpSocket>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

namespace {

// Why an exchange with the server ended without an answer; the caller turns
// it into the sentence that fits the moment (connecting or calling).
struct TransportFailure {
    enum class Kind { Dropped, TimedOut, Silent, Broken };
    Kind kind;
    QString detail; // what was wrong with a broken answer
};

QString sentence(QString text)
{
    text = text.trimmed();
    if (!text.endsWith(QLatin1Char('.')) && !text.endsWith(QLatin1Char('!')) && !text.endsWith(QLatin1Char('?'))) {
        text += QLatin1Char('.');
    }
    return text;
}

QString duration(int milliseconds)
{
    if (milliseconds % 1000 != 0) {
        return QStringLiteral("%1 ms").arg(milliseconds);
    }
    const int seconds = milliseconds / 1000;
    return seconds == 1 ? QStringLiteral("1 segundo") : QStringLiteral("%1 segundos").arg(seconds);
}

QString socketReason(const QTcpSocket &socket, int timeout)
{
    switch (socket.error()) {
    case QAbstractSocket::ConnectionRefusedError:
        return QStringLiteral("conexão recusada");
    case QAbstractSocket::HostNotFoundError:
        return QStringLiteral("endereço não encontrado");
    case QAbstractSocket::SocketTimeoutError:
        return QStringLiteral("sem resposta em %1").arg(duration(timeout));
    case QAbstractSocket::NetworkError:
        return QStringLiteral("rede inacessível");
    default:
        return socket.errorString();
    }
}

// How long a call waits at a time before it lets the wait hook run.
constexpr int waitSlice = 50; // ms

std::function<void()> &waitHook()
{
    static std::function<void()> hook;
    return hook;
}

int remaining(const QDeadlineTimer &deadline)
{
    return int(qMin<qint64>(deadline.remainingTime(), std::numeric_limits<int>::max()));
}

// A wait that ended without what it waited for.
TransportFailure interruption(SocketWait::Outcome outcome)
{
    switch (outcome) {
    case SocketWait::Outcome::DeadlineReached:
        return TransportFailure{TransportFailure::Kind::TimedOut, QString()};
    case SocketWait::Outcome::Silence:
        return TransportFailure{TransportFailure::Kind::Silent, QString()};
    case SocketWait::Outcome::Closed:
    case SocketWait::Outcome::Ready:
        break;
    }
    return TransportFailure{TransportFailure::Kind::Dropped, QString()};
}

bool isOurs(const QJsonObject &answer, qint64 id)
{
    const QJsonValue answerId = answer.value(QStringLiteral("id"));
    if (answerId.isDouble()) {
        return answerId.toInteger(-1) == id;
    }
    // The server answers with a null id when it could not read the request
    // at all (a parse error); on this one-call-at-a-time connection that can
    // only be the request just sent.
    return answerId.isNull() && answer.value(QStringLiteral("error")).isObject();
}

QString rpcErrorMessage(const QJsonObject &error)
{
    const QString message = error.value(QStringLiteral("message")).toString();
    if (!message.trimmed().isEmpty()) {
        return message;
    }
    return QStringLiteral("erro %1").arg(error.value(QStringLiteral("code")).toInteger());
}

} // namespace

TNetConnection::TNetConnection(QObject *parent)
    : QObject(parent)
    , m_reconnect(this)
{
    m_reconnect.setInterval(ReconnectInterval);
    connect(&m_reconnect, &QTimer::timeout, this, [this] {
        if (!m_waiting && !Connected()) {
            connectQuietly();
        }
    });
}

TNetConnection::~TNetConnection() = default;

QString TNetConnection::address() const
{
    return QStringLiteral("%1:%2").arg(m_host).arg(m_port);
}

bool TNetConnection::Connected() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

QString TNetConnection::CurrentServer() const
{
    return Connected() ? address() : QString();
}

void TNetConnection::SetServers(const QStringList &addresses)
{
    m_servers = addresses;
    m_firstServer = 0;
    m_openServer = 0;
}

void TNetConnection::Connect()
{
    if (Connected()) {
        return;
    }
    drop();
    const qsizetype candidates = std::max<qsizetype>(m_servers.size(), 1);
    QStringList reasons;
    for (qsizetype i = 0; i < candidates; ++i) {
        const int server = m_servers.isEmpty() ? 0 : int((m_firstServer + i) % m_servers.size());
        attempt(server);
        try {
            open();
        } catch (const std::runtime_error &error) {
            drop();
            reasons.append(QString::fromUtf8(error.what()));
            continue;
        }
        accepted(server);
        return;
    }
    m_lastError = reasons.size() == 1
                      ? reasons.first()
                      : QStringLiteral("Nenhum servidor de aplicação aceitou a conexão. %1").arg(reasons.join(QLatin1Char(' ')));
    if (m_lost) {
        noServer();
    }
    if (m_throwException) {
        throw std::runtime_error(m_lastError.toStdString());
    }
}

void TNetConnection::attempt(int server)
{
    m_lastErrorCode = 0;
    m_offeredFingerprint.clear();
    // The candidate is set before the hook, which may look it up, and again
    // after it, since a hook that points every connection at one server
    // would defeat the list.
    const auto useCandidate = [this, server] {
        if (m_servers.isEmpty()) {
            return;
        }
        const QString &candidate = m_servers.at(server);
        const qsizetype colon = candidate.lastIndexOf(QLatin1Char(':'));
        m_host = candidate.left(colon);
        m_port = colon < 0 ? 0 : candidate.mid(colon + 1).toInt();
    };
    useCandidate();
    if (BeforeConnect) {
        BeforeConnect(*this);
    }
    useCandidate();
}

void TNetConnection::accepted(int server)
{
    m_lastError.clear();
    m_openServer = server;
    m_firstServer = server;
    m_announcedNone = false;
    m_reconnect.stop();
    // Queued: the socket's own waits inside a call emit these at once, and
    // the slots must not touch the socket inside its own signal.
    connect(m_socket.get(), &QTcpSocket::readyRead, this, &TNetConnection::handOverNotices, Qt::QueuedConnection);
    connect(m_socket.get(), &QTcpSocket::disconnected, this, &TNetConnection::serverClosed, Qt::QueuedConnection);
    const QString address = CurrentServer();
    const bool wasLost = std::exchange(m_lost, false);
    whenIdle([this, address, wasLost] {
        emit ServerChanged(address);
        if (wasLost) {
            emit Reconnected(address);
        }
    });
}

void TNetConnection::markLost()
{
    m_lost = true;
    // The server that was lost is tried last.
    if (!m_servers.isEmpty()) {
        m_firstServer = int((m_openServer + 1) % m_servers.size());
    }
}

void TNetConnection::noServer()
{
    if (!std::exchange(m_announcedNone, true)) {
        whenIdle([this] { emit ServerChanged(QString()); });
    }
    m_reconnect.start();
}

void TNetConnection::connectQuietly()
{
    // From the event loop nobody is there to take a failure: its reason
    // stays in LastError and the timer tries again.
    try {
        Connect();
    } catch (const std::exception &) {
        if (m_lost && !Connected()) {
            noServer();
        }
    }
}

void TNetConnection::whenIdle(std::function<void()> emission)
{
    // Behind emissions still due, so the owner hears everything in order.
    if (m_waiting || !m_due.isEmpty()) {
        m_due.append(std::move(emission));
    } else {
        emission();
    }
}

void TNetConnection::tellLater()
{
    if (!m_due.isEmpty() || !m_heldNotices.isEmpty() || !m_received.isEmpty()) {
        QMetaObject::invokeMethod(this, &TNetConnection::emitDue, Qt::QueuedConnection);
    }
}

void TNetConnection::emitDue()
{
    if (m_waiting) {
        return; // reached through the wait hook: the wait's end posts this again
    }
    if (m_due.isEmpty()) {
        handOverNotices();
        return;
    }
    const std::function<void()> emission = m_due.takeFirst();
    // Posted before the slots run, so what is left is still told should one
    // of them throw.
    QMetaObject::invokeMethod(this, &TNetConnection::emitDue, Qt::QueuedConnection);
    emission();
}

void TNetConnection::serverClosed()
{
    if (m_waiting || !m_socket || Connected()) {
        return; // a call notices for itself, or this was an earlier socket
    }
    drop();
    markLost();
    connectQuietly();
}

void TNetConnection::handOverNotices()
{
    if (m_waiting || !m_due.isEmpty()) {
        // The call keeps what it reads; emitDue hands it over after the
        // call and after what fell due in it.
        return;
    }
    if (m_socket) {
        m_received.append(m_socket->readAll());
    }
    ServerNotices::takeWholeLines(m_received, m_heldNotices);
    if (!m_heldNotices.isEmpty()) {
        emit NoticesArrived(std::exchange(m_heldNotices, {}));
    }
}

void TNetConnection::Disconnect()
{
    m_reconnect.stop();
    drop();
}

void TNetConnection::drop()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        m_socket.reset();
    }
    m_received.clear();
}

std::runtime_error TNetConnection::cannotConnect(const QString &reason) const
{
    return std::runtime_error(
        QStringLiteral("Não foi possível conectar ao servidor de aplicação %1 (%2).").arg(address(), reason).toStdString());
}

void TNetConnection::open()
{
    if (m_port <= 0 || m_port > 65535) {
        throw cannotConnect(QStringLiteral("porta inválida"));
    }
    // Whatever the hook lets run meanwhile must not take the server's bytes
    // nor hear of this connection before it is open.
    const bool outer = std::exchange(m_waiting, true);
    const auto done = qScopeGuard([this, outer] {
        m_waiting = outer;
        if (!outer) {
            tellLater();
        }
    });
    const QDeadlineTimer deadline(m_connectTimeout);
    if (m_tls) {
        if (!QSslSocket::supportsSsl()) {
            throw cannotConnect(QStringLiteral("TLS indisponível neste computador"));
        }
        auto socket = std::make_unique<QSslSocket>();
        // A pinned fingerprint is the whole identity of the server: its
        // certificate is compared after the handshake, before anything is sent.
        socket->setPeerVerifyMode(m_serverFingerprint.isEmpty() ? QSslSocket::VerifyPeer : QSslSocket::VerifyNone);
        socket->connectToHostEncrypted(m_host, quint16(m_port));
        m_socket = std::move(socket);
    } else {
        m_socket = std::make_unique<QTcpSocket>();
        m_socket->connectToHost(m_host, quint16(m_port));
    }
    if (!m_socket->waitForConnected(remaining(deadline))) {
        throw cannotConnect(socketReason(*m_socket, m_connectTimeout));
    }
    if (m_tls) {
        startTls(deadline);
    }
    QJsonObject answer;
    try {
        // ConnectTimeout alone bounds the connect: a server silent for
        // longer has not confirmed it in time.
        answer = exchange(QStringLiteral("connect"), connectParams(), deadline, -1);
    } catch (const TransportFailure &failure) {
        switch (failure.kind) {
        case TransportFailure::Kind::Dropped:
            throw cannotConnect(QStringLiteral("a conexão foi fechada pelo servidor"));
        case TransportFailure::Kind::TimedOut:
        case TransportFailure::Kind::Silent:
            throw cannotConnect(QStringLiteral("o servidor não confirmou a conexão em %1").arg(duration(m_connectTimeout)));
        case TransportFailure::Kind::Broken:
            throw cannotConnect(QStringLiteral("resposta inválida: %1").arg(failure.detail));
        }
    }
    const QJsonValue error = answer.value(QStringLiteral("error"));
    if (error.isObject()) {
        m_lastErrorCode = error.toObject().value(QStringLiteral("code")).toInt();
        throw std::runtime_error(QStringLiteral("O servidor de aplicação %1 não aceitou a conexão com \"%2\": %3")
                                     .arg(address(), m_serverName, sentence(rpcErrorMessage(error.toObject())))
                                     .toStdString());
    }
    if (!answer.value(QStringLiteral("result")).isObject()) {
        throw cannotConnect(QStringLiteral("resposta inválida à chamada connect"));
    }
}

void TNetConnection::startTls(const QDeadlineTimer &deadline)
{
    auto &socket = static_cast<QSslSocket &>(*m_socket);
    if (!socket.waitForEncrypted(remaining(deadline))) {
        if (!socket.sslHandshakeErrors().isEmpty()) {
            m_offeredFingerprint = ServerCertificate::Fingerprint(socket.peerCertificate());
            throw cannotConnect(QStringLiteral("o certificado do servidor não é confiável: %1")
                                    .arg(ServerCertificate::DistrustReason(socket.sslHandshakeErrors())));
        }
        if (socket.error() == QAbstractSocket::SocketTimeoutError) {
            throw cannotConnect(QStringLiteral("o servidor não concluiu a negociação TLS em %1").arg(duration(m_connectTimeout)));
        }
        if (socket.state() != QAbstractSocket::ConnectedState) {
            throw cannotConnect(QStringLiteral("a conexão foi fechada pelo servidor durante a negociação TLS"));
        }
        throw cannotConnect(QStringLiteral("falha na negociação TLS"));
    }
    if (!m_serverFingerprint.isEmpty() && !ServerCertificate::HasFingerprint(socket.peerCertificate(), m_serverFingerprint)) {
        m_offeredFingerprint = ServerCertificate::Fingerprint(socket.peerCertificate());
        throw cannotConnect(QStringLiteral("o certificado do servidor não tem a impressão digital confiada"));
    }
}

QJsonArray TNetConnection::connectParams() const
{
    QJsonArray params{m_serverName};
    // A server without operators takes no credentials; one that has them
    // says so when they are missing, and the host then asks the operator.
    QJsonObject options;
    if (!m_operator.isEmpty() && !m_password.isEmpty()) {
        options.insert(QStringLiteral("operator"), m_operator);
        options.insert(QStringLiteral("password"), m_password);
    }
    if (m_notices) {
        options.insert(QStringLiteral("notices"), true);
    }
    if (!options.isEmpty()) {
        params.append(options);
    }
    return params;
}

bool TNetConnection::peerStillThere()
{
    // A server restarted while the screen sat idle has closed its end; a
    // zero wait notices that now, so the call reconnects instead of failing.
    m_socket->waitForReadyRead(0);
    m_received.append(m_socket->readAll());
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

QJsonObject TNetConnection::exchange(const QString &method, const QJsonArray &params, const QDeadlineTimer &deadline,
                                     int silenceLimit, std::optional<PacketColumns> *packet)
{
    const qint64 id = m_nextId++;
    const QJsonObject request{{QStringLiteral("jsonrpc"), QStringLiteral("2.0")},
                              {QStringLiteral("id"), id},
                              {QStringLiteral("method"), method},
                              {QStringLiteral("params"), params}};
    m_socket->write(QJsonDocument(request).toJson(QJsonDocument::Compact) + '\n');
    SocketWait wait(*m_socket, deadline, silenceLimit, waitHook(), waitSlice);
    if (const SocketWait::Outcome outcome = wait.flush(); outcome != SocketWait::Outcome::Ready) {
        throw interruption(outcome);
    }
    return readAnswer(id, wait, packet);
}

QJsonObject TNetConnection::readAnswer(qint64 id, SocketWait &wait, std::optional<PacketColumns> *packet)
{
    m_received.append(m_socket->readAll());
    JsonStreamReader reader(std::exchange(m_received, QByteArray()), [&wait](QByteArray &buffer) {
        // A server that answers and closes at once still has its answer
        // read: the wait hands over received bytes before it looks at the end.
        if (const SocketWait::Outcome outcome = wait.next(buffer); outcome != SocketWait::Outcome::Ready) {
            throw interruption(outcome);
        }
        return true;
    });
    for (;;) {
        QJsonObject answer;
        if (packet) {
            packet->reset(); // what an answer not ours carried
        }
        try {
            answer = AnswerReader::read(reader, packet);
        } catch (const std::exception &error) {
            throw TransportFailure{TransportFailure::Kind::Broken, QString::fromUtf8(error.what())};
        }
        if (isOurs(answer, id)) {
            m_received = reader.takeUnread();
            return answer;
        }
        if (ServerNotices::isNotice(answer)) {
            ServerNotices::keep(answer, m_heldNotices);
        }
    }
}

QJsonValue TNetConnection::Call(const QString &method, const QList<TNetArg> &args)
{
    return call(method, args, nullptr);
}

QJsonValue TNetConnection::CallPacket(const QString &method, const QList<TNetArg> &args, std::optional<PacketColumns> &packet)
{
    packet.reset();
    return call(method, args, &packet);
}

void TNetConnection::SetWaitHook(std::function<void()> hook)
{
    waitHook() = std::move(hook);
}

QJsonValue TNetConnection::call(const QString &method, const QList<TNetArg> &args, std::optional<PacketColumns> *packet)
{
    // Two calls on one connection would read each other's answers.
    if (m_waiting) {
        throw std::logic_error(QStringLiteral("TNetConnection: a chamada %1 chegou enquanto outra esperava resposta.")
                                   .arg(method)
                                   .toStdString());
    }
    m_waiting = true;
    const auto done = qScopeGuard([this] {
        m_waiting = false;
        tellLater();
    });
    if (!Connected() || !peerStillThere()) {
        if (m_socket) {
            drop();
            markLost();
        }
        Connect();
        if (!Connected()) {
            throw std::runtime_error(m_lastError.toStdString());
        }
    }
    QJsonArray params;
    for (const TNetArg &arg : args) {
        params.append(arg.toJson());
    }
    for (bool sentAgain = false;; sentAgain = true) {
        try {
            return takeResult(method, exchange(method, params, QDeadlineTimer(m_callTimeout), m_idleTimeout, packet), args);
        } catch (const TransportFailure &failure) {
            // The answer may still come later and would be taken for the next
            // call's: the connection is closed and the next call reconnects.
            const QString lostAt = address();
            drop();
            if (failure.kind == TransportFailure::Kind::Broken) {
                throw std::runtime_error(QStringLiteral("O servidor de aplicação %1 deu uma resposta inválida à chamada %2: %3.")
                                             .arg(lostAt, method, failure.detail).toStdString());
            }
            markLost();
            // A silent server is as good as gone; a call past its deadline
            // is too slow for any server.
            const bool gone = failure.kind != TransportFailure::Kind::TimedOut;
            if (gone && !sentAgain && m_readMethods.contains(method)) {
                connectQuietly();
                if (Connected()) {
                    continue;
                }
            }
            if (failure.kind == TransportFailure::Kind::Dropped) {
                throw ConnectionLost(QStringLiteral("A conexão com o servidor de aplicação %1 foi interrompida durante a chamada %2.")
                                         .arg(lostAt, method).toStdString());
            }
            if (failure.kind == TransportFailure::Kind::Silent) {
                throw ConnectionLost(QStringLiteral("O servidor de aplicação %1 ficou %2 sem responder à chamada %3.")
                                         .arg(lostAt, duration(m_idleTimeout), method).toStdString());
            }
            throw ConnectionLost(QStringLiteral("O servidor de aplicação %1 não respondeu à chamada %2 em %3.")
                                     .arg(lostAt, method, duration(m_callTimeout)).toStdString());
        }
    }
}

QJsonValue TNetConnection::takeResult(const QString &method, const QJsonObject &answer, const QList<TNetArg> &args) const
{
    const QJsonValue error = answer.value(QStringLiteral("error"));
    if (error.isObject()) {
        throw std::runtime_error(QStringLiteral("O servidor de aplicação recusou a chamada %1: %2")
                                     .arg(method, sentence(rpcErrorMessage(error.toObject())))
                                     .toStdString());
    }
    const auto invalid = [&](const QString &detail) {
        return std::runtime_error(QStringLiteral("O servidor de aplicação %1 deu uma resposta inválida à chamada %2: %3.")
                                      .arg(address(), method, detail).toStdString());
    };
    const QJsonValue result = answer.value(QStringLiteral("result"));
    if (!result.isObject()) {
        throw invalid(QStringLiteral("falta o resultado"));
    }
    const QJsonValue refsValue = result.toObject().value(QStringLiteral("refs"));
    if (!refsValue.isUndefined() && !refsValue.isNull() && !refsValue.isObject()) {
        throw invalid(QStringLiteral("\"refs\" deveria ser um objeto"));
    }
    const QJsonObject refs = refsValue.toObject();
    // Every returned value is checked before any is written, so a bad answer
    // leaves all of the caller's variables as they were.
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QJsonValue returned = refs.value(QString::number(i));
        if (args.at(i).isReference() && !returned.isUndefined() && !args.at(i).acceptsReturned(returned)) {
            throw invalid(QStringLiteral("o argumento %1 voltou com um valor de outro tipo").arg(i));
        }
    }
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QJsonValue returned = refs.value(QString::number(i));
        if (args.at(i).isReference() && !returned.isUndefined()) {
            args.at(i).writeBack(returned);
        }
    }
    return result.toObject().value(QStringLiteral("value"));
}
