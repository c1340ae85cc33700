// The command state: which commands, pages, menu items and reason controls
// the operator may use. The screen's operations decide them from their
// facts; Habilita only puts that answer on the controls, whenever the facts
// change.
#include "TfrmCancelamento.h"

#include "Consiste.h"
#include "CancellationOperations.h"
#include "RecordList.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBMemo.h"

#include <QLabel>
#include <QLineEdit>

QString TfrmCancelamento::situacaoAtual() const
{
    if (m_operations->listEmpty()) {
        return QString();
    }
    return cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).asString();
}

void TfrmCancelamento::Habilita()
{
    const CancellationCommands c = m_operations->commands();
    for (const RecordCommand command : {RecordCommand::Incluir, RecordCommand::Alterar, RecordCommand::Excluir}) {
        commandButton(command)->setEnabled(false);
    }
    sbtProcurar->setEnabled(c.find);
    sbtVerificar->setEnabled(c.verify);
    sbtCancelar->setEnabled(c.cancel);
    sbtConfirmar->setEnabled(c.confirm);
    sbtFiltro->setEnabled(c.filter);
    sbtHabilita->setEnabled(c.reEnable);
    for (const RecordCommand command : recordCommands) {
        commandAction(command)->setEnabled(commandButton(command)->isEnabled());
    }
    mnuFiltrar->setEnabled(c.filter);
    mnuHabilita->setEnabled(c.reEnable);
    mnuHistorico->setEnabled(c.history);
    mnuExportar->setEnabled(c.exportList);
    mnuConcluir->setEnabled(c.finish);

    pgcPadrao->setEnabled(c.pages);
    pgcPadrao->setPageEnabled(tshPadrao, c.gridPage);
    pgcPadrao->setPageEnabled(tshItens, c.itemsPage);
    pgcPadrao->setPageEnabled(tshMotivo, c.reasonPage);

    pnlMotivo->setEnabled(c.reasonPanel);
    for (QWidget *control : std::initializer_list<QWidget *>{edtCdMotivo, lblNmMot, dbmMotivo, btpMotivo}) {
        control->setEnabled(c.reason);
    }
    Consiste::SetChildEnabled(panFilial, c.branch);
    // The branch name is filled by the screen, never typed.
    edtNmFilial->setEnabled(false);
}

void TfrmCancelamento::dtsPadraoStateChange(TDataSource & /*sender*/)
{
    // The commands have followed the change already.
    if (m_operations->editing() && !QuoteState::isWithdrawn(m_operations->storedState())) {
        // A marked quote needs its reason: lead the operator there.
        abrePaginaMotivo();
    }
}

void TfrmCancelamento::abrePaginaMotivo()
{
    pgcPadrao->SetActivePage(tshMotivo);
    edtCdMotivo->setFocus(Qt::OtherFocusReason);
}
