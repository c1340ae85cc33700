// The command state: which commands, pages, menu items and reason controls
// the operator may use. Habilita is the one place that decides them, from
// facts read afresh at every call; the screen's events only change facts
// and run it.
#include "TfrmCancelamento.h"

#include "Consiste.h"
#include "Corvane.h"
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
    return !cdsOrcamento->isActive() || cdsOrcamento->isEmpty();
}

bool TfrmCancelamento::editando() const
{
    const RecordList::State state = dtsPadrao->state();
    return state == RecordList::State::Edit || state == RecordList::State::Insert;
}

QString TfrmCancelamento::situacaoAtual() const
{
    if (listaVazia()) {
        return QString();
    }
    return cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).asString();
}

QString TfrmCancelamento::situacaoGravada() const
{
    if (listaVazia()) {
        return QString();
    }
    return cdsOrcamento->fieldByName(QStringLiteral("IDSITUORCEVE")).oldValue().toString();
}

void TfrmCancelamento::Habilita()
{
    const bool vazia = listaVazia();
    const bool edicao = editando();
    const bool cancelada = QuoteState::isWithdrawn(situacaoGravada());

    for (const RecordCommand command : {RecordCommand::Incluir, RecordCommand::Alterar, RecordCommand::Excluir}) {
        commandButton(command)->setEnabled(false);
    }
    sbtProcurar->setEnabled(!vazia && !edicao);
    sbtVerificar->setEnabled(!vazia && !edicao);
    sbtCancelar->setEnabled(!vazia && edicao);
    sbtConfirmar->setEnabled(!vazia && edicao);
    // While a branch is being chosen nothing else can be asked for.
    sbtFiltro->setEnabled(!sbtConfirmar->isEnabled() && !m_escolhendoFilial);
    sbtHabilita->setEnabled(!vazia && !edicao && cancelada);
    for (const RecordCommand command : recordCommands) {
        commandAction(command)->setEnabled(commandButton(command)->isEnabled());
    }
    mnuFiltrar->setEnabled(sbtFiltro->isEnabled());
    mnuHabilita->setEnabled(sbtHabilita->isEnabled());
    // The history and the export change nothing: open whenever a quote is
    // listed and no edit is under way.
    mnuHistorico->setEnabled(!vazia && !edicao);
    mnuExportar->setEnabled(!vazia && !edicao);

    // Closed until a branch has been offered to the operator.
    pgcPadrao->setEnabled(m_filialOferecida);
    pgcPadrao->setPageEnabled(tshPadrao, !edicao || cancelada);
    const bool grade = pgcPadrao->isPageEnabled(tshPadrao);
    pgcPadrao->setPageEnabled(tshItens, !vazia && grade);
    pgcPadrao->setPageEnabled(tshMotivo, !vazia && !grade);

    // The panel itself is closed only while a branch is being chosen.
    pnlMotivo->setEnabled(!m_escolhendoFilial);
    edtCdMotivo->setEnabled(edicao && !cancelada);
    for (QWidget *control : std::initializer_list<QWidget *>{lblNmMot, dbmMotivo, btpMotivo}) {
        control->setEnabled(edtCdMotivo->isEnabled());
    }

    // The branch stays while a quote is being edited, and always when the
    // host fixes it.
    Consiste::SetChildEnabled(panFilial, !edicao && !Corvane::ModuFili());
    // The branch name is filled by the screen, never typed.
    edtNmFilial->setEnabled(false);
}

void TfrmCancelamento::dtsPadraoStateChange(TDataSource & /*sender*/)
{
    Habilita();
    if (editando() && !QuoteState::isWithdrawn(situacaoGravada())) {
        // A marked quote needs its reason: lead the operator there.
        abrePaginaMotivo();
    }
}

void TfrmCancelamento::abrePaginaMotivo()
{
    pgcPadrao->SetActivePage(tshMotivo);
    edtCdMotivo->setFocus(Qt::OtherFocusReason);
}
