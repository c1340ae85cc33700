#include "Releitura.h"

#include "QuoteListing.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "ServidorCancelamento.h"
#include "Showavi.h"

namespace {

constexpr int lendoDados = 6;

QString campo(const RecordList &lista, const char *nome)
{
    return lista.fieldByName(QLatin1String(nome)).asString();
}

} // namespace

ChaveOrcamento ChaveOrcamento::atual(const RecordList &lista)
{
    if (!lista.isActive() || lista.isEmpty()) {
        return {};
    }
    return {campo(lista, "CDFILIAL"), campo(lista, "NRORCAEVENTO"), campo(lista, "NRSEQORCAEVE")};
}

namespace Releitura {

std::optional<OrcamentoNoServidor> orcamento(ServidorCancelamento &servidor, const ChaveOrcamento &chave)
{
    QuoteListing estaSo;
    estaSo.number = {chave.numero, chave.numero, QString()};
    estaSo.allStates = QuoteListing::all;
    RecordList lida(QStringLiteral("cdsOrcamentoLido"));
    {
        Showavi::Busy busy(lendoDados);
        std::optional<PacketColumns> pacote;
        const QJsonValue resposta =
            servidor.chamaPacote(QStringLiteral("GetOrcamento"), TNetArg::listing(chave.filial, estaSo), pacote);
        if (!resposta.toObject().value(QStringLiteral("ok")).toBool()) {
            throw std::runtime_error(resposta.toObject().value(QStringLiteral("message")).toString().toStdString());
        }
        ServerAnswer::LoadPacket(lida, std::move(pacote));
    }
    for (lida.first(); !lida.eof(); lida.next()) {
        if (campo(lida, "NRORCAEVENTO") == chave.numero && campo(lida, "NRSEQORCAEVE") == chave.sequencia) {
            OrcamentoNoServidor lido{campo(lida, "IDSITUORCEVE"), campo(lida, "CDJUSTEXCHIS"),
                                     campo(lida, "CDOPEJUSTORC"), std::nullopt};
            lido.justificativa = justificativa(servidor, chave);
            return lido;
        }
    }
    return std::nullopt;
}

std::optional<QString> justificativa(ServidorCancelamento &servidor, const ChaveOrcamento &chave)
{
    Showavi::Busy busy(lendoDados);
    const QJsonValue resposta =
        servidor.chama(QStringLiteral("GetItemOrc"), {chave.filial, chave.numero, chave.sequencia});
    const QJsonObject checada = resposta.toObject();
    if (!checada.value(QStringLiteral("ok")).toBool()) {
        throw std::runtime_error(checada.value(QStringLiteral("message")).toString().toStdString());
    }
    RecordList texto(QStringLiteral("cdsObsLida"));
    ServerAnswer::LoadPacket(texto, ServerAnswer::Element(checada.value(QStringLiteral("data")), 1));
    if (texto.isEmpty()) {
        return std::nullopt;
    }
    return texto.fieldByName(QStringLiteral("TXOBSJUSTORC")).asString();
}

} // namespace Releitura
