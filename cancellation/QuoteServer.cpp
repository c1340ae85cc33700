#include "QuoteServer.h"

#include "Consiste.h"
#include "Showavi.h"
#include "TNetConnection.h"

QStringList quoteReadMethods()
{
    return {QStringLiteral("GetOrcamento"),    QStringLiteral("GetItemOrc"),      QStringLiteral("GetMotivo"),
            QStringLiteral("GetParamOrca"),    QStringLiteral("getSituAnterior"), QStringLiteral("getVerifSalao"),
            QStringLiteral("getBloqueioSalao"), QStringLiteral("GetHistorico")};
}

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

void writeChecked(QuoteServer &server, const QString &method, const QList<TNetArg> &arguments,
                  const std::function<void()> &discard)
{
    constexpr int writingData = 1;
    const auto discarding = [&discard] {
        if (discard) {
            discard();
        }
    };
    QJsonValue answer;
    try {
        Showavi::Busy busy(writingData);
        answer = server.call(method, arguments);
    } catch (const TNetConnection::ConnectionLost &) {
        throw;
    } catch (...) {
        discarding();
        throw;
    }
    if (!answer.toObject().value(QStringLiteral("ok")).toBool()) {
        discarding();
    }
    Consiste::CheckResultServ(answer, true, 0);
}
