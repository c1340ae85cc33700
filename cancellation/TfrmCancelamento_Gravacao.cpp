// Storing a marked quote as cancelled or postponed: the operation question,
// the writes to the server, and dropping the edit instead.
#include "TfrmCancelamento.h"

#include "Abort.h"
#include "Cli_cxl04100.h"
#include "Consiste.h"
#include "Corvane.h"
#include "HostDialogs.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "Showavi.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TMessages.h"

#include <QLineEdit>
#include <QScopedValueRollback>

#include <stdexcept>

namespace {

constexpr int gravandoDados = 1;
constexpr int operacaoCancelar = 10;
constexpr int operacaoAdiar = 11;

} // namespace

void TfrmCancelamento::sbtConfirmarClick(QObject *sender)
{
    TfrmPadraoGrid::sbtConfirmarClick(sender);
    edtCdMotivo->clear();
}

void TfrmCancelamento::cdsOrcamentoBeforePost(RecordList &dataSet)
{
    dataSet.fieldByName(QStringLiteral("CDOPEJUSTORC")).setAsString(Corvane::Operador());
    Vd_Motivo(true);
    Field &situacao = dataSet.fieldByName(QStringLiteral("IDSITUORCEVE"));
    if (situacao.asString() == QuoteState::Cancelled) {
        const int operacao = msgPadrao->ShowMsgAlert(
            QStringLiteral("confirmar"), TMessages::DialogKind::Confirmation,
            {QStringLiteral("btnCancelar"), QStringLiteral("btnAdiar"), QStringLiteral("btnVoltar")}, 0);
        if (operacao == operacaoAdiar) {
            situacao.setAsString(QuoteState::Postponed);
        } else if (operacao != operacaoCancelar) {
            throw Abort();
        }
    }
    dataSet.fieldByName(QStringLiteral("CDJUSTEXCHIS")).setAsString(edtCdMotivo->text());
    const QScopedValueRollback<bool> gravando(m_gravando, true);
    pgcPadrao->SetActivePage(tshPadrao);
}

void TfrmCancelamento::cdsOrcamentoAfterPost(RecordList &dataSet)
{
    if (dataSet.changeCount() > 0) {
        try {
            enviaOrcamento();
            liberaSalaoEJustifica();
            HostDialogs::current().showMessage(HostDialogs::Icon::Information, Caption(),
                                               msgPadrao->Msg(QStringLiteral("SUCESSO")));
            pgcPadrao->SetActivePage(tshPadrao);
            listaOrcamentos();
        } catch (...) {
            dataSet.cancelUpdates();
            throw;
        }
    }
    Habilita();
}

void TfrmCancelamento::enviaOrcamento()
{
    try {
        Showavi::Busy busy(gravandoDados);
        Consiste::CheckResultServ(
            netCancelamento->Call(QStringLiteral("SetOrcamento"), {TNetArg::deltaOf(*cdsOrcamento)}), true, 0);
    } catch (const TNetConnection::ConnectionLost &queda) {
        const auto chave = [this](const char *name) {
            return cdsOrcamento->fieldByName(QLatin1String(name)).asString();
        };
        confereGravacao(chave("CDFILIAL"), chave("NRORCAEVENTO"), chave("NRSEQORCAEVE"), situacaoAtual(), queda);
    }
    if (cdsOrcamento->logChanges()) {
        cdsOrcamento->mergeChangeLog();
    }
    Corvane::AtualizaLocalCache({QStringLiteral("ORCAEVENTO")});
}

void TfrmCancelamento::liberaSalaoEJustifica()
{
    const QString situacao = situacaoAtual();
    if (!QuoteState::isWithdrawn(situacao)) {
        return;
    }
    const auto chave = [this](const char *name) {
        return cdsOrcamento->fieldByName(QLatin1String(name)).asString();
    };
    const bool justifica = cdsObs->isEditing();
    bool salaoLiberado = false;
    m_justificativaGravada = false;
    try {
        netCancelamento->Call(QStringLiteral("setAgendaSalao"),
                              {chave("CDFILIAL"), chave("NRORCAEVENTO"), chave("NRSEQORCAEVE"), HallBooking::Released});
        salaoLiberado = true;
        if (justifica) {
            cdsObs->post();
        }
    } catch (const std::exception &error) {
        // From here on the quote is stored in its new state: the operator
        // learns that, and exactly which of the later steps did not happen.
        QString falta;
        if (!salaoLiberado) {
            falta = justifica ? QStringLiteral("o salão não foi liberado e a justificativa não foi gravada")
                              : QStringLiteral("o salão não foi liberado");
        } else if (!m_justificativaGravada) {
            falta = QStringLiteral("a justificativa não foi gravada");
        } else {
            falta = QStringLiteral("a lista não foi lida de novo (F5 lista de novo)");
        }
        const QString texto = QStringLiteral("O orçamento %1 (seq. %2) já está gravado como %3, mas %4")
                                  .arg(chave("NRORCAEVENTO"), chave("NRSEQORCAEVE"), msgPadrao->Msg(situacao), falta);
        if (dynamic_cast<const Abort *>(&error)) {
            // The server's refusal has been shown already.
            HostDialogs::current().showMessage(HostDialogs::Icon::Warning, Caption(), texto + QLatin1Char('.'));
            throw;
        }
        throw std::runtime_error((texto + QStringLiteral(": ") + QString::fromUtf8(error.what())).toStdString());
    }
}

void TfrmCancelamento::sbtCancelarClick(QObject * /*sender*/)
{
    if (askYesNo(*msgMensagensPadroes, QStringLiteral("Canc"))) {
        descartaEdicao();
    }
}

void TfrmCancelamento::descartaEdicao()
{
    boVd = false;
    // The grid page opens again with the edit dropped (Habilita, from the
    // list's change of state).
    if (cdsOrcamento->isActive()) {
        cdsOrcamento->cancel();
    }
    edtCdMotivo->clear();
}

void TfrmCancelamento::cdsOrcamentoAfterCancel(RecordList &dataSet)
{
    dataSet.cancelUpdates();
    if (cdsObs->isActive()) {
        cdsObs->cancelUpdates();
    }
    Habilita();
    // Back on the grid before anything asks the server: should the listing
    // fail, the operator is already where dropping the edit leads, and
    // no reason or items are read for a list about to be replaced.
    pgcPadrao->SetActivePage(tshPadrao);
    carregaDetalhes();
    focaNumeroOrcamento();
    listaOrcamentos();
}

void TfrmCancelamento::cdsOrcamentoAfterDelete(RecordList &dataSet)
{
    if (dataSet.changeCount() == 0) {
        return;
    }
    try {
        enviaOrcamento();
    } catch (...) {
        dataSet.cancelUpdates();
        throw;
    }
}

void TfrmCancelamento::cdsMotivoAfterPost(RecordList & /*dataSet*/)
{
    listaOrcamentos();
    Habilita();
}
