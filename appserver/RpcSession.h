#pragma once

#include "AnswerStream.h"
#include "CallDatabase.h"
#include "NoticeSource.h"
#include "RpcError.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QSqlDatabase>
#include <QString>

#include <functional>

// One client's conversation with the remote data module
// "CXL04100.rdmCancelamento": takes one JSON-RPC request line, runs the
// method on this connection's database and sends the answer line. Never
// throws: every failure becomes a JSON-RPC error or a checked failure, as
// docs/protocol.md describes, or, once part of the answer has left, the end
// of the connection.
//
// Each call borrows the database for its length only (connect included, to
// check the password), so a socket that never says who it is, or a client
// between calls, holds no database connection. On a server with operators
// `connect` must carry one with its password. A connect whose second
// parameter holds "notices":true subscribes the connection to the change
// notices (docs/protocol.md), when the server runs with them.
class RpcSession final {
public:
    static constexpr const char *serverName = "CXL04100.rdmCancelamento";

    struct Settings {
        // Lends a database connection to each call; outlives the session.
        CallDatabase *database = nullptr;
        // Off loopback the server must never serve without passwords, even
        // should its operators be removed while it runs.
        bool requireOperators = false;
        // Asked before a connect is accepted, with the operator it proved
        // (empty without operators): the reason to refuse it, or empty.
        std::function<QString(const QString &operatorCode)> accept;
        // Where this connection's writes are announced, and the branches it
        // lists recorded; no hub when the server runs without notices.
        NoticeSource notices;
        // Called when a connect that asked for notices is accepted: from
        // then on the connection hears of the branches it lists.
        std::function<void()> startNotices;
    };

    RpcSession(Settings settings, const QString &peer);
    ~RpcSession();

    // Answers one line (without the trailing newline) through `send`, the
    // answer ending with its own newline, and logs the call. Returns false
    // when the connection must be closed: the answer broke off after part
    // of it had been sent (the client cannot tell where the line would have
    // ended), or a connect was refused its credentials.
    bool handle(const QByteArray &line, const AnswerStream::Sender &send);
    // The answer to a line the connection did not read (too long, or no
    // room for it), logged like a call's error.
    QByteArray unread(RpcError::Code code, const QString &message);

    bool isConnected() const { return m_connected; }
    // The operator the accepted connect proved; empty without operators.
    const QString &operatorCode() const { return m_operator; }

    // What a method answers: the result's value and by-reference values,
    // and what the call log says of it.
    struct Answer {
        QJsonValue value;
        QJsonObject refs;
        QString outcome;
        // For a value too large to build first: writes it as JSON text into
        // the answer as it is read, instead of `value`, and returns the
        // outcome.
        std::function<QString(AnswerStream &)> streamValue;
    };

private:
    Answer dispatch(const QString &method, const QJsonArray &params);
    // Answers an error (or closes the connection when part of the answer
    // left); the log says `logged` instead of the message when given.
    bool fail(AnswerStream &out, const QJsonValue &id, const QString &method, qint64 elapsedMs, int code, const QString &message,
              const QString &logged = {});
    // Borrows the database for the call being dispatched, until endCall().
    void startCall();
    void endCall(bool databaseFailed);

    Answer connect(const QJsonArray &params);
    Answer getOrcamento(const QJsonArray &params);
    Answer getItemOrc(const QJsonArray &params);
    Answer getMotivo(const QJsonArray &params);
    Answer getParamOrca(const QJsonArray &params);
    Answer setOrcamento(const QJsonArray &params);
    Answer setObs(const QJsonArray &params);
    Answer setAgendaSalao(const QJsonArray &params);
    Answer getSituAnterior(const QJsonArray &params);
    Answer getVerifSalao(const QJsonArray &params);
    Answer getBloqueioSalao(const QJsonArray &params);
    Answer getHistorico(const QJsonArray &params);
    Answer setAnterior(const QJsonArray &params);

    void authenticate(const QJsonArray &params);

    Settings m_settings;
    QSqlDatabase m_db;                   // lent for the call under way
    CallDeadline *m_deadline = nullptr; // the call's; null between calls
    int m_lentId = 0;
    QString m_peer;
    bool m_connected = false;
    bool m_closing = false; // the answer being sent is the connection's last
    // The operator this connection's connect proved to be; empty on a server
    // without operators (loopback only: the demo and the tests), where the
    // operator a write names is taken as given.
    QString m_operator;
};
