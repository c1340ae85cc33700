// Writing a quote: storing a marked one as cancelled or postponed (the
// operation question, the store's steps in order) or dropping the edit
// instead; re-enabling a cancelled or postponed one.
#include "TfrmCancelamento.h"

#include "Abort.h"
#include "CancellationOperations.h"
#include "Cli_cxl04100.h"
#include "Corvane.h"
#include "QuoteReEnabling.h"
#include "QuoteServer.h"
#include "RecordList.h"
#include "TCustomPageControl98.h"
#include "TMessages.h"

#include <QLineEdit>
#include <QScopedValueRollback>

namespace {

constexpr int operacaoCancelar = 10;
constexpr int operacaoAdiar = 11;

} // namespace

void TfrmCancelamento::sbtConfirmarClick(QObject *sender)
{
    const CancellationOperations::Turn vez(*m_operations);
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
    if (dataSet.changeCount() == 0) {
        return;
    }
    // The reason page closed under the focus; the grid, open again now that
    // the edit is posted, takes it: not the first field the toolkit would
    // find when the window comes back (the branch, whose entry closes the list).
    focaNumeroOrcamento();
    QuoteWithdrawal gravacao = m_operations->newWithdrawal();
    const QScopedValueRollback<QuoteWithdrawal *> emCurso(m_gravacao, &gravacao);
    // A failure discards the list's changes before anything is said, so the
    // list never shows a state the server does not hold.
    gravacao.sendState(dataSet.delta(), [&dataSet] { dataSet.cancelUpdates(); });
    if (dataSet.logChanges()) {
        dataSet.mergeChangeLog();
    }
    Corvane::AtualizaLocalCache({QStringLiteral("ORCAEVENTO")});
    if (QuoteState::isWithdrawn(m_operations->currentState())) {
        gravacao.releaseHall();
        if (cdsObs->isEditing()) {
            cdsObs->post();
        }
    }
    m_operations->finishWithdrawal(gravacao);
    pgcPadrao->SetActivePage(tshPadrao);
    listaOrcamentos();
}

void TfrmCancelamento::sbtCancelarClick(QObject * /*sender*/)
{
    const CancellationOperations::Turn vez(*m_operations);
    if (askYesNo(*msgMensagensPadroes, QStringLiteral("Canc"))) {
        descartaEdicao();
    }
}

void TfrmCancelamento::descartaEdicao()
{
    boVd = false;
    // The grid page opens again with the edit dropped (the commands follow
    // the list's change of state).
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
    const CancellationOperations::Turn vez(*m_operations);
    try {
        writeChecked(m_operations->server(), QStringLiteral("SetOrcamento"), {TNetArg::deltaOf(dataSet)},
                     [&dataSet] { dataSet.cancelUpdates(); });
    } catch (const TNetConnection::ConnectionLost &) {
        // Never sent again; the server refuses deletions anyway.
        dataSet.cancelUpdates();
        throw;
    }
    if (dataSet.logChanges()) {
        dataSet.mergeChangeLog();
    }
    Corvane::AtualizaLocalCache({QStringLiteral("ORCAEVENTO")});
}

void TfrmCancelamento::cdsMotivoAfterPost(RecordList & /*dataSet*/)
{
    listaOrcamentos();
}

void TfrmCancelamento::mnuConcluirClick(QObject * /*sender*/)
{
    m_operations->finishPending(true);
    listaOrcamentos();
}

void TfrmCancelamento::sbtHabilitaClick(QObject * /*sender*/)
{
    reabilitaOrcamento();
}

void TfrmCancelamento::mnuHabilitaClick(QObject * /*sender*/)
{
    reabilitaOrcamento();
}

void TfrmCancelamento::reabilitaOrcamento()
{
    const CancellationOperations::Turn vez(*m_operations);
    if (!askYesNo(*msgPadrao, QStringLiteral("HABI_ORCA"))) {
        return;
    }
    pgcPadrao->SetActivePage(tshPadrao);
    QuoteReEnabling::reEnable(m_operations->server(), QuoteKey::current(*cdsOrcamento), Corvane::Operador(),
                                     *msgPadrao, [this] {
                                         if (cdsOrcamento->isActive()) {
                                             cdsOrcamento->cancelUpdates();
                                         }
                                     });
    listaOrcamentos();
}
