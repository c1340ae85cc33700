// The branch panel: choosing the branch whose quotes are listed.
#include "TfrmCancelamento.h"

#include "Abort.h"
#include "CancellationOperations.h"
#include "Cli_cxl04100.h"
#include "Cli_cxl04101.h"
#include "Consiste.h"
#include "RecordList.h"
#include "TMessages.h"

#include <QLineEdit>

namespace {

constexpr int filtroCancelado = 2;

} // namespace

void TfrmCancelamento::medCdFilialChange()
{
    // A name shown beside a code it no longer belongs to would mislead.
    edtNmFilial->clear();
}

void TfrmCancelamento::medCdFilialExit()
{
    panFilial->check(*msgPadrao);
}

void TfrmCancelamento::btnFilialBeforePesq(TBtnPesquisa & /*sender*/, bool & /*proceed*/)
{
    panFilial->offerAll();
}

void TfrmCancelamento::btnFilialAfterPesq(TBtnPesquisa & /*sender*/)
{
    panFilial->takePicked();
    m_operations->setBranchOffered();
}

void TfrmCancelamento::panFilialEnter()
{
    // Until a branch is accepted only the branch can be used.
    m_operations->setChoosingBranch(true);
    // While the branch is being chosen nothing of another branch stays on view.
    cdsOrcamento->close();
    cdsItemOrcaEven->close();
    cdsMotivo->close();
}

void TfrmCancelamento::panFilialExit()
{
    aceitaFilial();
}

void TfrmCancelamento::aceitaFilial()
{
    const CancellationOperations::Turn vez(*m_operations);
    m_operations->setChoosingBranch(false);
    if (Consiste::EmptyString(medCdFilial->text())) {
        medCdFilial->setFocus(Qt::OtherFocusReason);
        Consiste::MensErro(msgPadrao->Msg(QStringLiteral("Filial_N_Inf")), true);
    }
    // The grid must take the focus the listing gives it.
    m_operations->setBranchOffered();
    const bool dialogoAberto = boFiltro;
    if (dialogoAberto) {
        // A confirmation in the dialog writes the filter and lists by itself.
        CriaFiltroCancelamento(telaFiltro());
    }
    boFiltro = true;
    if (dialogoAberto && FiltroModalResult() == filtroCancelado) {
        if (medCdFilial->isEnabled()) {
            medCdFilial->setFocus(Qt::OtherFocusReason);
        }
        throw Abort();
    }
    listaOrcamentos();
    focaNumeroOrcamento();
    boPrimeiraAtivacao = false;
}
