#include "ReabilitacaoOrcamento.h"

#include "Abort.h"
#include "Consiste.h"
#include "HostDialogs.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "Releitura.h"
#include "ServerAnswer.h"
#include "ServidorCancelamento.h"
#include "Showavi.h"
#include "TMessages.h"
#include "TNetConnection.h"

#include <optional>
#include <stdexcept>

namespace {

constexpr int gravandoDados = 1;
const QString salaoLivre = QStringLiteral("OK");
const QString titulo = QStringLiteral("Cancelamento");
// Where the hall code starts in a blocking answer ("ACIMA_LIMITE:S02").
constexpr int inicioCodigoSalao = 13;

struct Bloqueio {
    const char *codigo;
    const char *mensagem;
};

// Tested in this order: an answer naming two codes reports the first.
constexpr Bloqueio bloqueios[] = {
    {"ACIMA_LIMITE", "Qt_Agen"},
    {"N_LIMITE_DEF", "N_Limite_Param"},
    {"DTA_HRA_MARC", "DtHr_Marc"},
};

// The first blocking code the hall answer holds; none for any other answer.
const Bloqueio *bloqueioDe(const QString &salao)
{
    for (const Bloqueio &bloqueio : bloqueios) {
        if (salao.contains(QLatin1String(bloqueio.codigo))) {
            return &bloqueio;
        }
    }
    return nullptr;
}

QString texto(const std::exception &erro)
{
    return QString::fromUtf8(erro.what());
}

// The bookings that hold the quote's hall, as lines for the operator;
// empty when the server cannot say: they only help, and the refusal stands.
QString quemOcupaSalao(ServidorCancelamento &servidor, const ChaveOrcamento &chave, const TMessages &mensagens)
{
    try {
        const QJsonObject resposta =
            servidor.chama(QStringLiteral("getBloqueioSalao"), {chave.filial, chave.numero, chave.sequencia}).toObject();
        if (!resposta.value(QStringLiteral("ok")).toBool()) {
            return QString();
        }
        RecordList ocupantes(QStringLiteral("cdsBloqueioSalao"));
        ServerAnswer::LoadPacket(ocupantes, resposta.value(QStringLiteral("data")));
        QStringList linhas;
        for (ocupantes.first(); !ocupantes.eof(); ocupantes.next()) {
            const auto campo = [&ocupantes](const char *nome) {
                return ocupantes.fieldByName(QLatin1String(nome)).asString();
            };
            linhas << QStringLiteral("%1  Orçamento %2-%3  %4 (%5)")
                          .arg(campo("HREVENTO"), campo("NRORCAEVENTO"), campo("NRSEQORCAEVE"), campo("NMFANTCLIE"),
                               mensagens.Msg(campo("IDSITUORCEVE")));
        }
        return linhas.isEmpty() ? QString() : QStringLiteral("O salão está ocupado por:\n") + linhas.join(QLatin1Char('\n'));
    } catch (const std::exception &) {
        return QString();
    }
}

[[noreturn]] void recusaSalao(const QString &salao, const QString &detalhes, const TMessages &mensagens)
{
    const Bloqueio *bloqueio = bloqueioDe(salao);
    if (!bloqueio) {
        throw std::runtime_error(salao.toStdString());
    }
    QString mensagem = mensagens.Msg(QLatin1String(bloqueio->mensagem));
    mensagem.replace(QStringLiteral("%s"), salao.mid(inicioCodigoSalao));
    HostDialogs::current().showDetailedMessage(HostDialogs::Icon::Error, titulo, mensagem, detalhes);
    throw Abort();
}

// After `queda` cut SetAnterior off: returns when the server holds the
// quote back in `anterior`; otherwise abandons, having said so.
void confereReabilitacao(ServidorCancelamento &servidor, const ChaveOrcamento &chave, const QString &anterior,
                         const std::exception &queda, const TMessages &mensagens)
{
    std::optional<OrcamentoNoServidor> lido;
    QString porque = QStringLiteral("o servidor não o encontrou");
    try {
        lido = Releitura::orcamento(servidor, chave);
    } catch (const std::exception &releitura) {
        porque = texto(releitura);
    }
    if (lido && lido->situacao == anterior) {
        return;
    }
    if (!lido) {
        throw std::runtime_error(QStringLiteral("%1\n\nNão foi possível saber se o orçamento %2 foi habilitado: %3\n"
                                                "Nada foi repetido. Liste de novo (F5) para conferir.")
                                     .arg(texto(queda), chave.paraOperador(), porque)
                                     .toStdString());
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, titulo,
        QStringLiteral("%1\n\nO orçamento %2 não foi habilitado: está %3 no servidor. Nada foi repetido; "
                       "faça a operação de novo se ainda for o caso.")
            .arg(texto(queda), chave.paraOperador(), mensagens.Msg(lido->situacao)));
    throw Abort();
}

// The hall's calendar told the quote's state again: booking it twice books
// it once, so a call whose answer was lost goes once more. Empty when done;
// otherwise why not.
QString confirmaAgenda(ServidorCancelamento &servidor, const ChaveOrcamento &chave, const QString &letra)
{
    QString falha;
    for (int tentativa = 0; tentativa < 2; ++tentativa) {
        try {
            Showavi::Busy busy(gravandoDados);
            servidor.chama(QStringLiteral("setAgendaSalao"), {chave.filial, chave.numero, chave.sequencia, letra});
            return QString();
        } catch (const TNetConnection::ConnectionLost &queda) {
            falha = texto(queda);
        } catch (const std::exception &erro) {
            return texto(erro);
        }
    }
    return falha;
}

} // namespace

namespace ReabilitacaoOrcamento {

void reabilita(ServidorCancelamento &servidor, const ChaveOrcamento &chave, const QString &operador,
               const TMessages &mensagens, const std::function<void()> &descarta)
{
    QString anterior;
    try {
        QString salao;
        QJsonValue resposta;
        {
            Showavi::Busy busy(gravandoDados);
            anterior = ServerAnswer::AsText(
                servidor.chama(QStringLiteral("getSituAnterior"), {chave.numero, chave.filial, chave.sequencia}));
            salao = ServerAnswer::AsText(
                servidor.chama(QStringLiteral("getVerifSalao"), {chave.filial, chave.numero, chave.sequencia}));
            if (salao == salaoLivre) {
                try {
                    resposta = servidor.chama(QStringLiteral("SetAnterior"), {chave.numero, chave.filial, chave.sequencia,
                                                                             operador, TNetArg::textRef(anterior)});
                } catch (const TNetConnection::ConnectionLost &queda) {
                    confereReabilitacao(servidor, chave, anterior, queda, mensagens);
                    resposta = QJsonObject{{QStringLiteral("ok"), true}};
                }
            }
        }
        if (salao != salaoLivre) {
            recusaSalao(salao, bloqueioDe(salao) ? quemOcupaSalao(servidor, chave, mensagens) : QString(), mensagens);
        }
        Consiste::CheckResultServ(resposta, true, 0);
    } catch (...) {
        descarta();
        throw;
    }
    // The quote is back in its state on the server: from here on nothing
    // may read as a refusal.
    descarta();
    const QString letra = HallBooking::forState(anterior);
    const QString falha = letra.isEmpty() ? QString() : confirmaAgenda(servidor, chave, letra);
    if (falha.isEmpty()) {
        HostDialogs::current().showMessage(HostDialogs::Icon::Information, titulo, mensagens.Msg(QStringLiteral("SUCESSO")));
        return;
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, titulo,
        QStringLiteral("O orçamento %1 já está habilitado como %2, mas a agenda do salão não foi atualizada: %3")
            .arg(chave.paraOperador(), mensagens.Msg(anterior), falha));
}

} // namespace ReabilitacaoOrcamento
