// The command state: which commands, pages, menu items and reason controls
// the operator may use. The screen's operations decide them from their
// facts; Habilita only puts that answer on the controls, whenever the facts
// change.
#include "TfrmCancelamento.h"

#include "Consiste.h"
#include "OperacoesCancelamento.h"
#include "QuoteStates.h"
#include "RecordList.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBMemo.h"
#include "TDataSource.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

bool TfrmCancelamento::listaVazia() const
{
    return m_operacoes->listaVazia();
}

bool TfrmCancelamento::editando() const
{
    return m_operacoes->editando();
}

QString TfrmCancelamento::situacaoAtual() const
{
    if (listaVazia()) {
        return QString();
    }
    return cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).asString();
}

void TfrmCancelamento::Habilita()
{
    const ComandosCancelamento c = m_operacoes->comandos();
    for (const RecordCommand command : {RecordCommand::Incluir, RecordCommand::Alterar, RecordCommand::Excluir}) {
        commandButton(command)->setEnabled(false);
    }
    sbtProcurar->setEnabled(c.procurar);
    sbtVerificar->setEnabled(c.verificar);
    sbtCancelar->setEnabled(c.cancelar);
    sbtConfirmar->setEnabled(c.confirmar);
    sbtFiltro->setEnabled(c.filtro);
    sbtHabilita->setEnabled(c.habilita);
    for (const RecordCommand command : recordCommands) {
        commandAction(command)->setEnabled(commandButton(command)->isEnabled());
    }
    mnuFiltrar->setEnabled(c.filtro);
    mnuHabilita->setEnabled(c.habilita);
    mnuHistorico->setEnabled(c.historico);
    mnuExportar->setEnabled(c.exportar);
    mnuConcluir->setEnabled(c.concluir);

    pgcPadrao->setEnabled(c.paginas);
    pgcPadrao->setPageEnabled(tshPadrao, c.paginaGrade);
    pgcPadrao->setPageEnabled(tshItens, c.paginaItens);
    pgcPadrao->setPageEnabled(tshMotivo, c.paginaMotivo);

    pnlMotivo->setEnabled(c.painelMotivo);
    for (QWidget *control : std::initializer_list<QWidget *>{edtCdMotivo, lblNmMot, dbmMotivo, btpMotivo}) {
        control->setEnabled(c.motivo);
    }
    Consiste::SetChildEnabled(panFilial, c.filial);
    // The branch name is filled by the screen, never typed.
    edtNmFilial->setEnabled(false);
}

void TfrmCancelamento::dtsPadraoStateChange(TDataSource & /*sender*/)
{
    // The commands have followed the change already.
    if (editando() && !QuoteState::isWithdrawn(m_operacoes->situacaoGravada())) {
        // A marked quote needs its reason: lead the operator there.
        abrePaginaMotivo();
    }
}

void TfrmCancelamento::abrePaginaMotivo()
{
    pgcPadrao->SetActivePage(tshMotivo);
    edtCdMotivo->setFocus(Qt::OtherFocusReason);
}
