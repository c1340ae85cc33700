// The reason page: the reason code, its lookup and its check against the
// server, and the justification text stored with SetObs after the quote's
// new state.
#include "TfrmCancelamento.h"

#include "CancellationFields.h"
#include "CancellationOperations.h"
#include "Cli_cxl04100.h"
#include "Consiste.h"
#include "Corvane.h"
#include "Pesquisa.h"
#include "QuoteServer.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "TCustomPageControl98.h"
#include "TDBMemo.h"
#include "TMessages.h"

#include <QLineEdit>

namespace {

constexpr int larguraMotivo = 4;
constexpr char16_t retrocesso = 8;

} // namespace

void TfrmCancelamento::edtCdMotivoKeyPress(QChar &key)
{
    // Reason codes are made of the digits 0 to 9 only, not of other
    // scripts' digits, which the server would never find.
    const bool digito = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    if (!digito && key != QChar(retrocesso)) {
        key = QChar(0);
    }
}

void TfrmCancelamento::edtCdMotivoEnter()
{
    edtNmMotivo->clear();
}

void TfrmCancelamento::edtCdMotivoExit()
{
    // The screen leaving the reason page to store the quote has just checked
    // the reason.
    if (m_gravando) {
        return;
    }
    // Only a quote being cancelled has a reason to check; the focus also
    // leaves this field when a finished (or failed) operation disables it,
    // and that must neither ask the server again nor open a justification.
    if (!m_operations->editing()) {
        pgcPadrao->SetActivePage(tshPadrao);
        return;
    }
    if (boVd) {
        Vd_Motivo(true);
    }
    if (Consiste::EmptyString(edtCdMotivo->text())) {
        edtCdMotivo->setFocus(Qt::OtherFocusReason);
        edtCdMotivo->setText(Consiste::Ajusta(edtCdMotivo->text(), larguraMotivo));
    }
    editaJustificativa();
}

void TfrmCancelamento::btpMotivoClick(QObject * /*sender*/)
{
    const CancellationOperations::Turn vez(*m_operations);
    // Without a code the server answers every reason.
    edtCdMotivo->clear();
    m_operations->readAllReasons();
    if (!Pesquisa::Pesquisar(*dtsMotivo, msgPadrao->Msg(QStringLiteral("Motivo")), false, true)) {
        return;
    }
    edtCdMotivo->setText(cdsMotivo->fieldByName(QStringLiteral("CDJUSTEXCHIS")).asString());
    edtNmMotivo->setText(cdsMotivo->fieldByName(QStringLiteral("DSJUSTEXCHIS")).asString());
    editaJustificativa();
}

void TfrmCancelamento::Vd_Motivo(bool obrigatorio)
{
    if (Consiste::EmptyString(edtCdMotivo->text())) {
        if (obrigatorio) {
            // A quote being cancelled has its reason page and controls open.
            abrePaginaMotivo();
            Consiste::MensErro(msgPadrao->Msg(QStringLiteral("Motivo_N_Inf")), true);
        }
    } else {
        edtCdMotivo->setText(Consiste::Ajusta(edtCdMotivo->text(), larguraMotivo));
        if (!m_operations->checkReason(edtCdMotivo->text())) {
            edtCdMotivo->setFocus(Qt::OtherFocusReason);
            Consiste::MensErro(msgPadrao->Msg(QStringLiteral("Motivo_N_cad")), true);
        }
        edtNmMotivo->setText(cdsMotivo->fieldByName(QStringLiteral("DSJUSTEXCHIS")).asString());
    }
}

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
    fillJustification(dataSet, QuoteKey::current(*cdsOrcamento), dbmMotivo->toPlainText(), Corvane::Operador());
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
        m_gravacao->listingFailed(erro);
    }
    pgcPadrao->SetActivePage(tshPadrao);
}

void TfrmCancelamento::dtsObsStateChange(TDataSource & /*sender*/)
{
    // The justification is edited only while its quote is: the commands
    // that edit calls for are those of the edited list.
    m_operations->recheck();
}
