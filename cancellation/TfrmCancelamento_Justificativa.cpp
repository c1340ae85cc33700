// The justification text of a cancellation or postponement: kept in its own
// one-record list and stored with SetObs after the quote's new state.
#include "TfrmCancelamento.h"

#include "Corvane.h"
#include "DayCount.h"
#include "RecordList.h"
#include "Showavi.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBMemo.h"
#include "TDataSource.h"
#include "Consiste.h"

#include <QDate>

namespace {

constexpr int gravandoDados = 1;

} // namespace

void TfrmCancelamento::pnlMotivoExit()
{
    if (!m_gravando) {
        editaJustificativa();
    }
}

void TfrmCancelamento::editaJustificativa()
{
    // Only a quote being cancelled or postponed takes a justification.
    if (editando() && cdsObs->isActive()) {
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
    if (dataSet.changeCount() == 0) {
        return;
    }
    try {
        {
            Showavi::Busy busy(gravandoDados);
            Consiste::CheckResultServ(netCancelamento->Call(QStringLiteral("SetObs"), {TNetArg::deltaOf(dataSet)}),
                                      true, 0);
        }
        if (dataSet.logChanges()) {
            dataSet.mergeChangeLog();
        }
        m_justificativaGravada = true;
        Corvane::AtualizaLocalCache({QStringLiteral("OBSJUSTORCA")});
        listaOrcamentos();
        carregaDetalhes();
        pgcPadrao->SetActivePage(tshPadrao);
    } catch (...) {
        if (dataSet.isActive()) {
            dataSet.cancelUpdates();
        }
        throw;
    }
}

void TfrmCancelamento::dtsObsStateChange(TDataSource & /*sender*/)
{
    // The justification is edited only while its quote is: the commands
    // that edit calls for are those of the edited list.
    Habilita();
}
