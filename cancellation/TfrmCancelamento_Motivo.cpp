// The reason of a cancellation or postponement: its code, its lookup and its
// check against the server.
#include "TfrmCancelamento.h"

#include "Cli_cxl04100.h"
#include "Consiste.h"
#include "Pesquisa.h"
#include "RecordList.h"
#include "ServerAnswer.h"
#include "CancellationOperations.h"
#include "QuoteServer.h"
#include "TBtnPesquisa.h"
#include "TCustomPageControl98.h"
#include "TDBMemo.h"
#include "TMessages.h"

#include <QLineEdit>

namespace {

constexpr int larguraMotivo = 4;
constexpr int lendoDados = 6;
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
    QString codigo;
    QString todos = QStringLiteral("T");
    ServerAnswer::LoadPacket(*cdsMotivo, callChecked(m_operations->server(), lendoDados, QStringLiteral("GetMotivo"),
                                                      {TNetArg::textRef(codigo), TNetArg::textRef(todos)}));
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
        const QJsonValue answer =
            netCancelamento->Call(QStringLiteral("GetMotivo"), {edtCdMotivo->text(), QString()});
        ServerAnswer::LoadPacket(*cdsMotivo, Consiste::CheckResultServ(answer, true, 0));
        if (cdsMotivo->isEmpty()) {
            edtCdMotivo->setFocus(Qt::OtherFocusReason);
            Consiste::MensErro(msgPadrao->Msg(QStringLiteral("Motivo_N_cad")), true);
        }
        edtNmMotivo->setText(cdsMotivo->fieldByName(QStringLiteral("DSJUSTEXCHIS")).asString());
    }
}
