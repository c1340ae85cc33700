#include "ServidorCancelamento.h"

#include "Consiste.h"
#include "Showavi.h"
#include "TNetConnection.h"

QJsonValue ServidorDaConexao::chama(const QString &metodo, const QList<TNetArg> &argumentos)
{
    return m_conexao.Call(metodo, argumentos);
}

QJsonValue ServidorDaConexao::chamaPacote(const QString &metodo, const QList<TNetArg> &argumentos,
                                          std::optional<PacketColumns> &pacote)
{
    return m_conexao.CallPacket(metodo, argumentos, pacote);
}

QJsonValue chamaChecado(ServidorCancelamento &servidor, int aviso, const QString &metodo,
                        const QList<TNetArg> &argumentos)
{
    QJsonValue resposta;
    {
        Showavi::Busy busy(aviso);
        resposta = servidor.chama(metodo, argumentos);
    }
    return Consiste::CheckResultServ(resposta, true, 0);
}
