#include "GravacaoOrcamento.h"

#include "Abort.h"
#include "Consiste.h"
#include "HostDialogs.h"
#include "QuoteStates.h"
#include "Releitura.h"
#include "ServidorCancelamento.h"
#include "Showavi.h"
#include "TNetConnection.h"

#include <stdexcept>

namespace {

constexpr int gravandoDados = 1;

QString texto(const std::exception &erro)
{
    return QString::fromUtf8(erro.what());
}

// Whether the server's copy is the one this operation asked for: the state
// alone is not enough, since another operator may have set the same state
// with a reason of their own.
bool ehDestaOperacao(const OrcamentoNoServidor &lido, const GravacaoOrcamento::Pedido &pedido)
{
    return lido.situacao == pedido.situacao && lido.motivo == pedido.motivo && lido.operador == pedido.operador;
}

QString quemGravou(const OrcamentoNoServidor &lido)
{
    QString quem = lido.situacao.isEmpty() ? QStringLiteral("ausente") : lido.situacao;
    if (!lido.operador.isEmpty()) {
        quem += QStringLiteral(", gravado por %1").arg(lido.operador);
    }
    if (!lido.motivo.isEmpty()) {
        quem += QStringLiteral(" com o motivo %1").arg(lido.motivo);
    }
    return quem;
}

// Releasing a hall twice releases it once: the call may go again.
Etapa liberaSalaoDe(ServidorCancelamento &servidor, const ChaveOrcamento &chave, QString &falha)
{
    for (int tentativa = 0; tentativa < 2; ++tentativa) {
        try {
            Showavi::Busy busy(gravandoDados);
            servidor.chama(QStringLiteral("setAgendaSalao"),
                           {chave.filial, chave.numero, chave.sequencia, HallBooking::Released});
            falha.clear();
            return Etapa::Gravada;
        } catch (const TNetConnection::ConnectionLost &queda) {
            falha = texto(queda);
        } catch (const Abort &) {
            falha.clear();
            return Etapa::NaoGravada;
        } catch (const std::exception &erro) {
            falha = texto(erro);
            return Etapa::NaoGravada;
        }
    }
    return Etapa::Incerta;
}

// SetObs, checked; a refusal shows the server's message.
void enviaObs(ServidorCancelamento &servidor, const ChangeDelta &delta)
{
    QJsonValue resposta;
    {
        Showavi::Busy busy(gravandoDados);
        resposta = servidor.chama(QStringLiteral("SetObs"), {TNetArg::delta(delta)});
    }
    Consiste::CheckResultServ(resposta, true, 0);
}

} // namespace

GravacaoOrcamento::GravacaoOrcamento(ServidorCancelamento &servidor, Pedido pedido)
    : m_servidor(servidor)
    , m_pedido(std::move(pedido))
{
}

void GravacaoOrcamento::enviaSituacao(const ChangeDelta &delta, const std::function<void()> &descarta)
{
    QJsonValue resposta;
    try {
        Showavi::Busy busy(gravandoDados);
        resposta = m_servidor.chama(QStringLiteral("SetOrcamento"), {TNetArg::delta(delta)});
    } catch (const TNetConnection::ConnectionLost &queda) {
        confereSituacao(queda, descarta);
        return;
    } catch (...) {
        descarta();
        throw;
    }
    // Checked once the busy sign is gone, and with the list showing the
    // stored state again: a refusal's box never sits over a state not stored.
    if (!resposta.toObject().value(QStringLiteral("ok")).toBool()) {
        descarta();
    }
    Consiste::CheckResultServ(resposta, true, 0);
}

void GravacaoOrcamento::confereSituacao(const std::exception &queda, const std::function<void()> &descarta)
{
    const QString orcamento = m_pedido.chave.paraOperador();
    std::optional<OrcamentoNoServidor> lido;
    QString porque;
    try {
        lido = Releitura::orcamento(m_servidor, m_pedido.chave);
        porque = QStringLiteral("o servidor não o encontrou");
    } catch (const std::exception &releitura) {
        porque = texto(releitura);
    }
    if (lido && ehDestaOperacao(*lido, m_pedido)) {
        return;
    }
    descarta();
    if (!lido) {
        throw std::runtime_error(
            QStringLiteral("%1\n\nNão foi possível saber se o orçamento %2 foi gravado: %3\n"
                           "Nada foi repetido. Liste de novo (F5) para conferir antes de refazer a operação.")
                .arg(texto(queda), orcamento, porque)
                .toStdString());
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, QStringLiteral("Cancelamento"),
        QStringLiteral("%1\n\nO orçamento %2 não foi gravado: está %3 no servidor. Nada foi repetido; "
                       "faça a operação de novo se ainda for o caso.")
            .arg(texto(queda), orcamento, quemGravou(*lido)));
    throw Abort();
}

void GravacaoOrcamento::liberaSalao()
{
    QString falha;
    m_salao = liberaSalaoDe(m_servidor, m_pedido.chave, falha);
    anotaFalha(falha);
}

void GravacaoOrcamento::anotaFalha(const QString &falha)
{
    if (!falha.isEmpty()) {
        m_falhas << falha;
    }
}

void GravacaoOrcamento::enviaJustificativa(const ChangeDelta &delta, const QString &texto)
{
    m_deltaJustificativa = delta;
    m_texto = texto;
    if (m_salao != Etapa::Gravada && m_salao != Etapa::Dispensada) {
        // The steps go in their order: this one waits with the hall's.
        m_justificativa = Etapa::NaoGravada;
        return;
    }
    try {
        enviaObs(m_servidor, delta);
        m_justificativa = Etapa::Gravada;
    } catch (const TNetConnection::ConnectionLost &queda) {
        m_justificativa = confereJustificativa(delta, texto, ::texto(queda));
    } catch (const Abort &) {
        // The server refused it and said why: the same text would be refused again.
        m_recusada = true;
        m_justificativa = Etapa::NaoGravada;
    } catch (const std::exception &erro) {
        anotaFalha(::texto(erro));
        m_justificativa = Etapa::NaoGravada;
    }
}

Etapa GravacaoOrcamento::confereJustificativa(const ChangeDelta &delta, const QString &texto, const QString &queda)
{
    try {
        const std::optional<QString> lida = Releitura::justificativa(m_servidor, m_pedido.chave);
        if (lida && *lida != texto) {
            // Another operator's text: ours is not stored, and never will be.
            anotaFalha(QStringLiteral("o servidor já tem outra justificativa para ele"));
            m_recusada = true;
            return Etapa::NaoGravada;
        }
        if (lida) {
            return Etapa::Gravada;
        }
        // Not there: written once, now.
        enviaObs(m_servidor, delta);
        return Etapa::Gravada;
    } catch (const Abort &) {
        m_recusada = true;
        return Etapa::NaoGravada;
    } catch (const std::exception &erro) {
        anotaFalha(queda);
        anotaFalha(::texto(erro));
        return Etapa::Incerta;
    }
}

bool GravacaoOrcamento::completa() const
{
    const auto feita = [](Etapa etapa) { return etapa == Etapa::Gravada || etapa == Etapa::Dispensada; };
    return feita(m_salao) && feita(m_justificativa);
}

QString GravacaoOrcamento::relato(const QString &nomeSituacao) const
{
    const auto parte = [](Etapa etapa, const QString &nao, const QString &incerta) {
        return etapa == Etapa::NaoGravada ? nao : etapa == Etapa::Incerta ? incerta : QString();
    };
    QStringList falta;
    for (const QString &item :
         {parte(m_salao, QStringLiteral("o salão não foi liberado"),
                QStringLiteral("não foi possível confirmar que o salão foi liberado")),
          parte(m_justificativa, QStringLiteral("a justificativa não foi gravada"),
                QStringLiteral("não foi possível confirmar que a justificativa foi gravada"))}) {
        if (!item.isEmpty()) {
            falta << item;
        }
    }
    QString relato = QStringLiteral("O orçamento %1 já está gravado como %2, mas %3")
                         .arg(m_pedido.chave.paraOperador(), nomeSituacao, falta.join(QStringLiteral(" e ")));
    relato += m_falhas.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + m_falhas.join(QStringLiteral("; "));
    if (pendencia()) {
        relato += QStringLiteral("\n\nO que falta será concluído na próxima conexão a um servidor, ou agora com Ctrl+G.");
    }
    return relato;
}

std::optional<Pendencia> GravacaoOrcamento::pendencia() const
{
    if (completa()) {
        return std::nullopt;
    }
    Pendencia pendente{m_pedido.chave, m_pedido.situacao, m_pedido.motivo, m_pedido.operador, false, std::nullopt, {}};
    pendente.salao = m_salao != Etapa::Gravada && m_salao != Etapa::Dispensada;
    if ((m_justificativa == Etapa::NaoGravada || m_justificativa == Etapa::Incerta) && !m_recusada) {
        pendente.justificativa = m_deltaJustificativa;
        pendente.texto = m_texto;
    }
    if (!pendente.salao && !pendente.justificativa) {
        return std::nullopt;
    }
    return pendente;
}

std::optional<Pendencia> GravacaoOrcamento::conclui(ServidorCancelamento &servidor, Pendencia pendente)
{
    const std::optional<OrcamentoNoServidor> lido = Releitura::orcamento(servidor, pendente.chave);
    if (!lido || !ehDestaOperacao(*lido, {pendente.chave, pendente.situacao, pendente.motivo, pendente.operador})) {
        // Re-enabled or changed since: what was left is no longer due.
        return std::nullopt;
    }
    QString falha;
    if (pendente.salao) {
        pendente.salao = liberaSalaoDe(servidor, pendente.chave, falha) != Etapa::Gravada;
    }
    if (pendente.justificativa && !lido->justificativa) {
        enviaObs(servidor, *pendente.justificativa);
    }
    pendente.justificativa.reset();
    if (pendente.salao) {
        return pendente;
    }
    return std::nullopt;
}
