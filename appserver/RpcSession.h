#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
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

private:
    QJsonObject dispatch(const QString &method, const QJsonArray &params);

    QJsonObject connect(const QJsonArray &params);
    QJsonObject getOrcamento(const QJsonArray &params);
    QJsonObject getItemOrc(const QJsonArray &params);
    QJsonObject getMotivo(const QJsonArray &params);
    QJsonObject getParamOrca(const QJsonArray &params);
    QJsonObject setOrcamento(const QJsonArray &params);
    QJsonObject setObs(const QJsonArray &params);
    QJsonObject setAgendaSalao(const QJsonArray &params);
    QJsonObject getSituAnterior(const QJsonArray &params);
    QJsonObject getVerifSalao(const QJsonArray &params);
    QJsonObject getBloqueioSalao(const QJsonArray &params);
    QJsonObject setAnterior(const QJsonArray &params);

    QSqlDatabase m_db;
    QString m_peer;
    bool m_connected = false;
    QString m_outcome;
    QByteArray m_rawValue; // a value already written as JSON text, if any
};
