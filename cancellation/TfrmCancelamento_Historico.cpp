// Two commands of the "Operação" menu beside the cancellation itself: the
// history of the current quote and the export of the listed quotes to a
// spreadsheet file (.xlsx or CSV).
#include "TfrmCancelamento.h"

#include "QuoteKey.h"
#include "QuoteFileExport.h"
#include "HistoricoDialog.h"
#include "CancellationOperations.h"
#include "QuoteServer.h"
#include "TDBGrid.h"
#include "TMessages.h"

namespace {

constexpr int lendoDados = 6;

} // namespace

void TfrmCancelamento::mnuHistoricoClick(QObject * /*sender*/)
{
    const CancellationOperations::Turn vez(*m_operations);
    const QuoteKey chave = QuoteKey::current(*cdsOrcamento);
    const QJsonValue historico = callChecked(m_operations->server(), lendoDados, QStringLiteral("GetHistorico"),
                                              {chave.branch, chave.number, chave.sequence});
    HistoricoDialog dialog(historico, [this](const QString &codigo) { return msgPadrao->Msg(codigo); },
                           QStringLiteral("Histórico do orçamento %1-%2").arg(chave.number, chave.sequence), this);
    dialog.exec();
}

void TfrmCancelamento::mnuExportarClick(QObject * /*sender*/)
{
    const CancellationOperations::Turn vez(*m_operations);
    exportQuotes(this, *cdsOrcamento, dbgPadrao->columns(), m_operations->server());
}
