#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QSqlDatabase>
#include <QString>

// One client's conversation with the remote data module
// "CXL04100.rdmCancelamento": takes one JSON-RPC request line, runs the
// method on this connection's database and gives back the answer line.
// Never throws: every failure becomes a JSON-RPC error or a checked
// failure, as docs/protocol.md describes.
class RpcSession final {
public:
    static constexpr const char *serverName = "CXL04100.rdmCancelamento";

    RpcSession(const QSqlDatabase &db, const QString &peer);

    // The answer to one line (without the trailing newline), with its own
    // newline. Logs the call.
    QByteArray handle(const QByteArray &line);
    // The answer to a line that was too long to read.
    QByteArray oversized(qint64 limit);

    bool isConnected() const { return m_connected; }

    // What a method answers: the result's value and by-reference values,
    // and what the call log says of it.
    struct Answer {
        QJsonValue value;
        QJsonObject refs;
        QByteArray rawValue; // the value already written as JSON text, if any
        QString outcome;
    };

private:
    Answer dispatch(const QString &method, const QJsonArray &params);

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
    Answer setAnterior(const QJsonArray &params);

    QSqlDatabase m_db;
    QString m_peer;
    bool m_connected = false;
};
