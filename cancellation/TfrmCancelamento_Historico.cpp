// Two commands of the "Operação" menu beside the cancellation itself: the
// history of the current quote and the export of the listed quotes to a
// spreadsheet file (.xlsx or CSV).
#include "TfrmCancelamento.h"

#include "ChaveOrcamento.h"
#include "ExportacaoOrcamentos.h"
#include "HistoricoDialog.h"
#include "OperacoesCancelamento.h"
#include "ServidorCancelamento.h"
#include "TDBGrid.h"
#include "TMessages.h"

namespace {

constexpr int lendoDados = 6;

} // namespace

void TfrmCancelamento::mnuHistoricoClick(QObject * /*sender*/)
{
    const OperacoesCancelamento::Vez vez(*m_operacoes);
    const ChaveOrcamento chave = ChaveOrcamento::atual(*cdsOrcamento);
    const QJsonValue historico = chamaChecado(m_operacoes->servidor(), lendoDados, QStringLiteral("GetHistorico"),
                                              {chave.filial, chave.numero, chave.sequencia});
    HistoricoDialog dialog(historico, [this](const QString &codigo) { return msgPadrao->Msg(codigo); },
                           QStringLiteral("Histórico do orçamento %1-%2").arg(chave.numero, chave.sequencia), this);
    dialog.exec();
}

void TfrmCancelamento::mnuExportarClick(QObject * /*sender*/)
{
    const OperacoesCancelamento::Vez vez(*m_operacoes);
    exportaOrcamentos(this, *cdsOrcamento, dbgPadrao->columns(), m_operacoes->servidor());
}
