// Re-enabling a cancelled or postponed quote.
#include "TfrmCancelamento.h"

#include "Corvane.h"
#include "CancellationOperations.h"
#include "QuoteReEnabling.h"
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
