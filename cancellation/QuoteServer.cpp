#include "QuoteServer.h"

#include "Consiste.h"
#include "Showavi.h"
#include "TNetConnection.h"

QJsonValue ConnectionQuoteServer::call(const QString &metodo, const QList<TNetArg> &arguments)
{
    return m_conexao.Call(metodo, arguments);
}

QJsonValue ConnectionQuoteServer::callPacket(const QString &metodo, const QList<TNetArg> &arguments,
                                          std::optional<PacketColumns> &packet)
{
    return m_conexao.CallPacket(metodo, arguments, packet);
}

QJsonValue callChecked(QuoteServer &server, int notice, const QString &metodo,
                        const QList<TNetArg> &arguments)
{
    QJsonValue answer;
    {
        Showavi::Busy busy(notice);
        answer = server.call(metodo, arguments);
    }
    return Consiste::CheckResultServ(answer, true, 0);
}
