#pragma once

#include "AnswerStream.h"

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
class RpcSession final {
public:
    static constexpr const char *serverName = "CXL04100.rdmCancelamento";

    RpcSession(const QSqlDatabase &db, const QString &peer);

    // Answers one line (without the trailing newline) through `send`, the
    // answer ending with its own newline, and logs the call. Returns false
    // when the answer broke off after part of it had been sent: the
    // connection must then be closed, since the client cannot tell where
    // the line would have ended.
    bool handle(const QByteArray &line, const AnswerStream::Sender &send);
    // The answer to a line that was too long to read.
    QByteArray oversized(qint64 limit);

    bool isConnected() const { return m_connected; }

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

    QSqlDatabase m_db;
    QString m_peer;
    bool m_connected = false;
    // The operator this connection's connect proved to be; empty on a server
    // without operators (loopback only: the demo and the tests), where the
    // operator a write names is taken as given.
    QString m_operator;
};
