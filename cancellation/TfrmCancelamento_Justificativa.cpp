// The justification text of a cancellation or postponement: kept in its own
// one-record list and stored with SetObs after the quote's new state.
#include "TfrmCancelamento.h"

#include "Corvane.h"
#include "DayCount.h"
#include "RecordList.h"
#include "QuoteWithdrawal.h"
#include "CancellationOperations.h"
#include "TMessages.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBMemo.h"
#include "TDataSource.h"
#include "Consiste.h"

#include <QDate>

#include <stdexcept>

void TfrmCancelamento::pnlMotivoExit()
{
    if (!m_gravando) {
        editaJustificativa();
    }
}

void TfrmCancelamento::editaJustificativa()
{
    // Only a quote being cancelled or postponed takes a justification.
    if (m_operations->editing() && cdsObs->isActive()) {
        cdsObs->edit();
    }
}

void TfrmCancelamento::cdsObsBeforePost(RecordList &dataSet)
{
    dataSet.fieldByName(QStringLiteral("CDOPERADOR")).setAsString(Corvane::Operador());
    for (const char *chave : {"CDFILIAL", "NRORCAEVENTO", "NRSEQORCAEVE"}) {
        dataSet.fieldByName(QLatin1String(chave))
            .setAsString(cdsOrcamento->fieldByName(QLatin1String(chave)).asString());
    }
    dataSet.fieldByName(QStringLiteral("TXOBSJUSTORC")).setAsString(dbmMotivo->toPlainText());
    dataSet.fieldByName(QStringLiteral("DTHRHISTORCA")).setAsDateTime(DayCount::fromDate(QDate::currentDate()));
}

void TfrmCancelamento::cdsObsAfterPost(RecordList &dataSet)
{
    // The justification is posted only by the store of its quote.
    if (dataSet.changeCount() == 0 || !m_gravacao) {
        return;
    }
    m_gravacao->sendJustification(dataSet.delta(), dataSet.fieldByName(QStringLiteral("TXOBSJUSTORC")).asString());
    if (m_gravacao->justification() != Step::Stored) {
        dataSet.cancelUpdates();
        return;
    }
    if (dataSet.logChanges()) {
        dataSet.mergeChangeLog();
    }
    Corvane::AtualizaLocalCache({QStringLiteral("OBSJUSTORCA")});
    try {
        listaOrcamentos();
        carregaDetalhes();
    } catch (const std::exception &erro) {
        // Everything is stored: only the list on screen is not the server's.
        throw std::runtime_error(QStringLiteral("O orçamento %1 já está gravado como %2, mas a lista não foi lida de novo "
                                                "(F5 lista de novo): %3")
                                     .arg(m_gravacao->request().key.forOperator(),
                                          msgPadrao->Msg(m_gravacao->request().state), QString::fromUtf8(erro.what()))
                                     .toStdString());
    }
    pgcPadrao->SetActivePage(tshPadrao);
}

void TfrmCancelamento::dtsObsStateChange(TDataSource & /*sender*/)
{
    // The justification is edited only while its quote is: the commands
    // that edit calls for are those of the edited list.
    m_operations->recheck();
}
