// Re-enabling a cancelled or postponed quote.
#include "TfrmCancelamento.h"

#include "Corvane.h"
#include "OperacoesCancelamento.h"
#include "ReabilitacaoOrcamento.h"
#include "RecordList.h"
#include "TCustomPageControl98.h"
#include "TMessages.h"

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
    const OperacoesCancelamento::Vez vez(*m_operacoes);
    if (!askYesNo(*msgPadrao, QStringLiteral("HABI_ORCA"))) {
        return;
    }
    pgcPadrao->SetActivePage(tshPadrao);
    ReabilitacaoOrcamento::reabilita(m_operacoes->servidor(), ChaveOrcamento::atual(*cdsOrcamento), Corvane::Operador(),
                                     *msgPadrao, [this] {
                                         if (cdsOrcamento->isActive()) {
                                             cdsOrcamento->cancelUpdates();
                                         }
                                     });
    listaOrcamentos();
}
