#pragma once

#include "PacketColumns.h"
#include "TNetArg.h"

#include <QJsonValue>
#include <QList>
#include <QString>

#include <optional>

class TNetConnection;

// The application server as the screen's operations see it: the screen's
// connection in use, a script in the operations' own tests. A call that was
// cut off before its answer throws TNetConnection::ConnectionLost; any other
// failure throws std::runtime_error with the operator's sentence.
class ServidorCancelamento {
public:
    virtual ~ServidorCancelamento() = default;
    virtual QJsonValue chama(const QString &metodo, const QList<TNetArg> &argumentos) = 0;
    virtual QJsonValue chamaPacote(const QString &metodo, const QList<TNetArg> &argumentos,
                                   std::optional<PacketColumns> &pacote) = 0;
};

class ServidorDaConexao final : public ServidorCancelamento {
public:
    explicit ServidorDaConexao(TNetConnection &conexao)
        : m_conexao(conexao)
    {
    }
    QJsonValue chama(const QString &metodo, const QList<TNetArg> &argumentos) override;
    QJsonValue chamaPacote(const QString &metodo, const QList<TNetArg> &argumentos,
                           std::optional<PacketColumns> &pacote) override;

private:
    TNetConnection &m_conexao;
};

// A call with a checked answer under the busy sign of `aviso` (Showavi's
// kind), the answer checked once the sign is gone: a refusal's box never
// sits under "Lendo dados...". Returns the checked answer's payload.
QJsonValue chamaChecado(ServidorCancelamento &servidor, int aviso, const QString &metodo,
                        const QList<TNetArg> &argumentos = {});
