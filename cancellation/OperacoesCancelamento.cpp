#include "OperacoesCancelamento.h"

#include "Abort.h"
#include "Consiste.h"
#include "Corvane.h"
#include "HostDialogs.h"
#include "HostGuard.h"
#include "QuoteStates.h"
#include "QuoteListing.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "ServidorCancelamento.h"
#include "Showavi.h"
#include "TMessages.h"

#include <QScopedValueRollback>
#include <QTimer>

#include <optional>
#include <utility>

namespace {

constexpr int lendoDados = 6;
// How soon what waited for a question on screen is looked at again.
constexpr int esperaDialogo = 300; // ms

QString chaveDe(const QString &numero, const QString &sequencia)
{
    return numero + QLatin1Char('-') + sequencia;
}

QString campo(const RecordList &lista, const char *nome)
{
    return lista.fieldByName(QLatin1String(nome)).asString();
}

} // namespace

OperacoesCancelamento::OperacoesCancelamento(ServidorCancelamento &servidor, const ListasCancelamento &listas,
                                             const TMessages &mensagens, QObject *parent)
    : QObject(parent)
    , m_servidor(servidor)
    , m_listas(listas)
    , m_orcamentos(listas.orcamentos)
    , m_mensagens(mensagens)
{
    // Every change of the list's data, place or state may open or close commands.
    connect(&m_orcamentos, &RecordList::reset, this, &OperacoesCancelamento::fatosMudaram);
    connect(&m_orcamentos, &RecordList::currentChanged, this, &OperacoesCancelamento::fatosMudaram);
    connect(&m_orcamentos, &RecordList::stateChanged, this, &OperacoesCancelamento::fatosMudaram);
}

OperacoesCancelamento::~OperacoesCancelamento() = default;

OperacoesCancelamento::Vez::Vez(OperacoesCancelamento &operacoes)
    : m_operacoes(operacoes)
{
    ++m_operacoes.m_profundidade;
}

OperacoesCancelamento::Vez::~Vez()
{
    if (--m_operacoes.m_profundidade == 0) {
        m_operacoes.terminou();
    }
}

void OperacoesCancelamento::terminou()
{
    if (std::exchange(m_esperandoOperacao, false)) {
        // From the event loop, once the handler that ran the operation is done.
        QTimer::singleShot(0, this, &OperacoesCancelamento::trataAdiados);
    }
}

bool OperacoesCancelamento::listaVazia() const
{
    return !m_orcamentos.isActive() || m_orcamentos.isEmpty();
}

bool OperacoesCancelamento::editando() const
{
    const RecordList::State estado = m_orcamentos.state();
    return estado == RecordList::State::Edit || estado == RecordList::State::Insert;
}

QString OperacoesCancelamento::situacaoGravada() const
{
    if (listaVazia()) {
        return QString();
    }
    return m_orcamentos.fieldByName(QStringLiteral("IDSITUORCEVE")).oldValue().toString();
}

FatosCancelamento OperacoesCancelamento::fatos() const
{
    FatosCancelamento f;
    f.listaVazia = listaVazia();
    f.editando = editando();
    f.retirada = QuoteState::isWithdrawn(situacaoGravada());
    f.filialOferecida = m_filialOferecida;
    f.escolhendoFilial = m_escolhendoFilial;
    f.filialFixa = Corvane::ModuFili();
    f.pendente = !m_pendencias.isEmpty();
    return f;
}

void OperacoesCancelamento::defineEscolhendoFilial(bool escolhendo)
{
    m_escolhendoFilial = escolhendo;
    if (escolhendo) {
        m_filialOferecida = true;
    }
    emit fatosMudaram();
}

void OperacoesCancelamento::defineFilialOferecida()
{
    m_filialOferecida = true;
    emit fatosMudaram();
}

void OperacoesCancelamento::defineFechando(bool fechando)
{
    m_fechando = fechando;
}

void OperacoesCancelamento::lista(const QString &filial, QuoteListing &listagem)
{
    const Vez vez(*this);
    // A branch's list is read straight into the record list's columns as it
    // arrives: it may run to tens of megabytes.
    std::optional<PacketColumns> orcamentos;
    QJsonValue resposta;
    {
        Showavi::Busy busy(lendoDados);
        resposta = m_servidor.chamaPacote(QStringLiteral("GetOrcamento"), TNetArg::listing(filial, listagem), orcamentos);
    }
    Consiste::CheckResultServ(resposta, true, 0);
    Showavi::Busy busy(lendoDados);
    m_filialListada = filial;
    m_alteradosPorOutros.clear();
    m_listaVelha = false;
    m_avisosAdiados.clear();
    ServerAnswer::LoadPacket(m_orcamentos, std::move(orcamentos));
    emit notaMudou();
}

void OperacoesCancelamento::leItens()
{
    const ChaveOrcamento chave = ChaveOrcamento::atual(m_orcamentos);
    esvaziaItens();
    const QJsonValue pacotes = chamaChecado(m_servidor, lendoDados, QStringLiteral("GetItemOrc"),
                                            {chave.filial, chave.numero, chave.sequencia});
    ServerAnswer::LoadPacket(m_listas.itens, ServerAnswer::Element(pacotes, 0));
    ServerAnswer::LoadPacket(m_listas.justificativa, ServerAnswer::Element(pacotes, 1));
}

void OperacoesCancelamento::esvaziaItens()
{
    m_listas.itens.createDataSet();
    m_listas.justificativa.createDataSet();
}

void OperacoesCancelamento::leMotivo()
{
    ServerAnswer::LoadPacket(m_listas.motivos, chamaChecado(m_servidor, lendoDados, QStringLiteral("GetMotivo"),
                                                            {campo(m_orcamentos, "CDJUSTEXCHIS"), QString()}));
}

bool OperacoesCancelamento::temPrecoBase()
{
    RecordList &parametros = m_listas.parametros;
    ServerAnswer::LoadPacket(parametros, chamaChecado(m_servidor, lendoDados, QStringLiteral("GetParamOrca")));
    // IDORIGPRUNITORE "C": unit prices taken from a contract.
    return parametros.isEmpty() || campo(parametros, "IDORIGPRUNITORE") != QLatin1String("C");
}

void OperacoesCancelamento::recebeAvisos(const QList<QJsonObject> &avisos)
{
    m_avisosAdiados += avisos;
    trataAdiados();
}

void OperacoesCancelamento::conexaoRefeita()
{
    // Whatever changed while no server was telling this screen is read
    // anew, and the steps left are finished on the new connection.
    m_listaVelha = true;
    m_concluirAdiado = !m_pendencias.isEmpty();
    trataAdiados();
}

void OperacoesCancelamento::trataAdiados()
{
    if (m_avisosAdiados.isEmpty() && !m_listaVelha && !m_concluirAdiado) {
        return;
    }
    if (emOperacao() || m_tratando) {
        m_esperandoOperacao = true; // taken when the operation ends
        return;
    }
    if (ocupada && ocupada()) {
        QTimer::singleShot(esperaDialogo, this, &OperacoesCancelamento::trataAdiados);
        return;
    }
    const QScopedValueRollback tratando(m_tratando, true);
    HostGuard::run([this] {
        const Vez vez(*this);
        if (std::exchange(m_concluirAdiado, false)) {
            concluiPendencias(false);
        }
        // A branch being typed is not the one listed: the listing waits for it.
        if (m_listaVelha && !editando() && !m_escolhendoFilial && m_orcamentos.isActive() && !m_fechando) {
            // Asked once: a listing that fails says so, and F5 asks again.
            m_listaVelha = false;
            m_avisosAdiados.clear();
            emit listagemPedida();
            return;
        }
        aplicaAvisos(std::exchange(m_avisosAdiados, {}));
    });
}

void OperacoesCancelamento::aplicaAvisos(const QList<QJsonObject> &avisos)
{
    if (!m_orcamentos.isActive() || m_fechando) {
        return;
    }
    const int colunaNumero = m_orcamentos.fieldByName(QStringLiteral("NRORCAEVENTO")).index();
    const int colunaSequencia = m_orcamentos.fieldByName(QStringLiteral("NRSEQORCAEVE")).index();
    const int colunaSituacao = m_orcamentos.fieldByName(QStringLiteral("IDSITUORCEVE")).index();
    const int colunaMotivo = m_orcamentos.fieldByName(QStringLiteral("CDJUSTEXCHIS")).index();
    QHash<QString, int> linhas;
    for (int linha = 0; linha < m_orcamentos.recordCount(); ++linha) {
        linhas.insert(chaveDe(m_orcamentos.valueAt(linha, colunaNumero).toString(),
                              m_orcamentos.valueAt(linha, colunaSequencia).toString()),
                      linha);
    }
    std::optional<QJsonObject> daEdicao;
    for (const QJsonObject &aviso : avisos) {
        if (aviso.value(QStringLiteral("branch")).toString() != m_filialListada) {
            continue;
        }
        const QString chave =
            chaveDe(aviso.value(QStringLiteral("number")).toString(), aviso.value(QStringLiteral("sequence")).toString());
        const int linha = linhas.value(chave, -1);
        if (linha < 0) {
            continue;
        }
        if (aviso.value(QStringLiteral("what")).toString() != QLatin1String("state")) {
            // The justification or the hall: nothing the grid shows.
            m_alteradosPorOutros.insert(chave);
            continue;
        }
        const QString situacao = aviso.value(QStringLiteral("state")).toString();
        const QString motivo = aviso.value(QStringLiteral("reason")).toString();
        const bool editada = editando() && linha == m_orcamentos.recNo();
        // A change the listing already brought is no news.
        if (!editada && m_orcamentos.valueAt(linha, colunaSituacao).toString() == situacao
            && m_orcamentos.valueAt(linha, colunaMotivo).toString() == motivo) {
            continue;
        }
        m_alteradosPorOutros.insert(chave);
        const QHash<QString, QVariant> valores{
            {QStringLiteral("IDSITUORCEVE"), situacao},
            {QStringLiteral("CDJUSTEXCHIS"), motivo.isEmpty() ? QVariant() : QVariant(motivo)}};
        if (!m_orcamentos.refreshRecord(linha, valores)) {
            daEdicao = aviso;
        }
    }
    emit notaMudou();
    // The current quote's new state may open or close commands.
    emit fatosMudaram();
    if (!daEdicao) {
        return;
    }
    const QString quem = daEdicao->value(QStringLiteral("operator")).toString();
    const QString motivo = daEdicao->value(QStringLiteral("reason")).toString();
    QString agora = m_mensagens.Msg(daEdicao->value(QStringLiteral("state")).toString());
    if (!motivo.isEmpty()) {
        agora += QStringLiteral(", motivo %1").arg(motivo);
    }
    HostDialogs::current().showMessage(
        HostDialogs::Icon::Warning, QStringLiteral("Cancelamento"),
        QStringLiteral("O orçamento %1 (seq. %2), que você está alterando, acaba de ser alterado por %3: agora está %4.\n\n"
                       "A sua alteração será descartada e nada dela será gravado.")
            .arg(daEdicao->value(QStringLiteral("number")).toString(),
                 daEdicao->value(QStringLiteral("sequence")).toString(),
                 quem.isEmpty() ? QStringLiteral("outro operador") : quem, agora));
    emit edicaoAlteradaPorOutro();
}

QString OperacoesCancelamento::nota() const
{
    QStringList partes;
    if (const qsizetype alterados = m_alteradosPorOutros.size()) {
        partes << QStringLiteral("%1 %2 por outros operadores — F5 lista de novo")
                      .arg(alterados)
                      .arg(alterados == 1 ? QStringLiteral("alterado") : QStringLiteral("alterados"));
    }
    for (const Pendencia &pendente : m_pendencias) {
        partes << QStringLiteral("%1-%2: %3 — Ctrl+G conclui")
                      .arg(pendente.chave.numero, pendente.chave.sequencia,
                           pendente.salao ? QStringLiteral("salão não liberado")
                                          : QStringLiteral("justificativa não gravada"));
    }
    return partes.join(QStringLiteral("; "));
}

GravacaoOrcamento OperacoesCancelamento::novaGravacao()
{
    return GravacaoOrcamento(m_servidor, {ChaveOrcamento::atual(m_orcamentos), campo(m_orcamentos, "IDSITUORCEVE"),
                                          campo(m_orcamentos, "CDJUSTEXCHIS"), campo(m_orcamentos, "CDOPEJUSTORC")});
}

void OperacoesCancelamento::terminaGravacao(const GravacaoOrcamento &gravacao)
{
    if (gravacao.completa()) {
        HostDialogs::current().showMessage(HostDialogs::Icon::Information, QStringLiteral("Cancelamento"),
                                           m_mensagens.Msg(QStringLiteral("SUCESSO")));
        return;
    }
    if (std::optional<Pendencia> pendente = gravacao.pendencia()) {
        m_pendencias.append(std::move(*pendente));
        emit notaMudou();
        emit fatosMudaram();
    }
    HostDialogs::current().showMessage(HostDialogs::Icon::Warning, QStringLiteral("Cancelamento"),
                                       gravacao.relato(m_mensagens.Msg(gravacao.pedido().situacao)));
    throw Abort();
}

void OperacoesCancelamento::concluiPendencias(bool relata)
{
    const Vez vez(*this);
    QList<Pendencia> restantes;
    QStringList relatos;
    for (const Pendencia &pendente : std::exchange(m_pendencias, {})) {
        const QString orcamento = pendente.chave.paraOperador();
        try {
            if (std::optional<Pendencia> resta = GravacaoOrcamento::conclui(m_servidor, pendente)) {
                restantes.append(std::move(*resta));
                relatos << QStringLiteral("O salão do orçamento %1 ainda não foi liberado.").arg(orcamento);
            } else {
                relatos << QStringLiteral("O orçamento %1 está concluído.").arg(orcamento);
            }
        } catch (const std::exception &erro) {
            restantes.append(pendente);
            relatos << QStringLiteral("O orçamento %1 ainda não foi concluído: %2").arg(orcamento, QString::fromUtf8(erro.what()));
        }
    }
    m_pendencias = restantes + m_pendencias;
    emit notaMudou();
    emit fatosMudaram();
    if (relata && !relatos.isEmpty()) {
        HostDialogs::current().showMessage(m_pendencias.isEmpty() ? HostDialogs::Icon::Information
                                                                  : HostDialogs::Icon::Warning,
                                           QStringLiteral("Cancelamento"), relatos.join(QLatin1Char('\n')));
    }
}
