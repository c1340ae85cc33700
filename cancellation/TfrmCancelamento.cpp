#include "TfrmCancelamento.h"

#include "CancellationMessages.h"
#include "CancellationOperations.h"
#include "Cli_cxl04100.h"
#include "Cli_cxl04101.h"
#include "Consiste.h"
#include "Corvane.h"
#include "FiltroResumo.h"
#include "QuoteServer.h"
#include "QuoteStates.h"
#include "TBtnPesquisa.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDataSource.h"
#include "TDBMemo.h"
#include "TFiltro.h"
#include "TMessages.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

TfrmCancelamento::TfrmCancelamento(QWidget *parent)
    : TfrmPadraoGrid(parent)
    , netCancelamento(new TNetConnection(this))
    , m_servidor(std::make_unique<ConnectionQuoteServer>(*netCancelamento))
{
    setObjectName(QStringLiteral("frmCancelamento"));
    setWindowTitle(QStringLiteral("Cancelamento"));
    lblCodTela->setText(QStringLiteral("CXL04100"));
    msgPadrao->setLines(cancellationMessages());
    SetCountWords(QStringLiteral("orçamento"), QStringLiteral("orçamentos"),
                  QStringLiteral("Nenhum orçamento encontrado para o filtro."));
    resize(767, 459);

    netCancelamento->setObjectName(QStringLiteral("netCancelamento"));
    netCancelamento->SetServerName(QStringLiteral("CXL04100.rdmCancelamento"));
    netCancelamento->SetThrowException(false);
    netCancelamento->BeforeConnect = [this](TNetConnection &connection) {
        netCancelamentoBeforeConnect(connection);
    };
    netCancelamento->SetNotices(true);
    netCancelamento->SetReadMethods(quoteReadMethods());
    connect(netCancelamento, &TNetConnection::ServerChanged, this, &THostForm::SetServer);

    criaListas();
    // What waits for the operation under way waits for a question on screen too.
    m_operations->busyElsewhere = [] { return QApplication::activeModalWidget() != nullptr; };
    connect(netCancelamento, &TNetConnection::NoticesArrived, m_operations, &CancellationOperations::takeNotices);
    connect(netCancelamento, &TNetConnection::Reconnected, m_operations, &CancellationOperations::reconnected);
    connect(m_operations, &CancellationOperations::factsChanged, this, &TfrmCancelamento::Habilita);
    connect(m_operations, &CancellationOperations::noteChanged, this, &TfrmPadraoGrid::RefreshStatus);
    connect(m_operations, &CancellationOperations::listingWanted, this, &TfrmCancelamento::listaOrcamentos);
    connect(m_operations, &CancellationOperations::editChangedByOther, this, &TfrmCancelamento::descartaEdicao);
    criaBarraEMenus();
    criaPaineis();
    criaColunasGrade();
    pgcPadrao->pairPage(tshPadrao, mnuFolhaDados);
    pgcPadrao->pairPage(tshItens, mnuItens);
    pgcPadrao->pairPage(tshMotivo, mnuMotivo);
    ordenaTabulacao();
    vigiaFoco();
}

TfrmCancelamento::~TfrmCancelamento()
{
    // The grids and labels let go of the lists before the lists go; the
    // command state is of no interest to a screen being destroyed.
    disconnect(m_operations, nullptr, this, nullptr);
    dtsPadrao->onStateChange = nullptr;
    dtsObs->onStateChange = nullptr;
    disconnect(dtsPadrao, nullptr, this, nullptr);
    dtsPadrao->setDataSet(nullptr);
}

void TfrmCancelamento::FormCreate()
{
    TfrmPadraoGrid::FormCreate();
    netCancelamento->SetServers(Corvane::WebServers());
    netCancelamento->Connect();
    boPrimeiraAtivacao = true;
    // A filter chosen on an earlier screen does not carry over to a new one.
    ResetFiltro(Filtro);
}

QString TfrmCancelamento::FilterSummary() const
{
    return FiltroResumo::texto(Filtro);
}

void TfrmCancelamento::netCancelamentoBeforeConnect(TNetConnection &connection)
{
    // Host and port are the server of the list being tried.
    connection.SetTls(Corvane::WebTLS());
    connection.SetServerFingerprint(Corvane::WebFingerprint(connection.Host(), connection.Port()));
    connection.SetOperator(Corvane::Operador());
    connection.SetPassword(Corvane::Senha());
    connection.SetIdleTimeout(Corvane::WebIdleTimeout());
}

void TfrmCancelamento::FormActivate()
{
    TfrmPadraoGrid::FormActivate();
    update();
    if (boPrimeiraAtivacao) {
        medCdFilial->setText(Corvane::FiliProc());
        edtNmFilial->setText(Corvane::NomeFiliProc());
        if (Corvane::ModuFili()) {
            // The fixed branch is never typed.
            aceitaFilial();
        } else {
            medCdFilial->setFocus(Qt::OtherFocusReason);
        }
        cdsItemOrcaEven->fieldByName(QStringLiteral("CDARVPROD")).setEditMask(Corvane::DBPict(0));
        cdsObs->createDataSet();
        boPrimeiraAtivacao = false;
    }
    // An activation puts the rules back in force, even for a branch being chosen.
    m_operations->setChoosingBranch(false);
    boFiltro = true;
}

void TfrmCancelamento::FormClose(CloseAction &action)
{
    TfrmPadraoGrid::FormClose(action);
    m_operations->setClosing(action != caNone);
    // A screen the operator kept open is still the module's one screen.
    if (m_operations->closing()) {
        boStCriado = false;
    }
    m_operations->setChoosingBranch(false);
}

void TfrmCancelamento::FormDestroy()
{
    TfrmPadraoGrid::FormDestroy();
    netCancelamento->Disconnect();
}

void TfrmCancelamento::FormKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    TfrmPadraoGrid::FormKeyDown(key, shift);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && shift.testFlag(Qt::ControlModifier)) {
        const RecordList::State state = dtsPadrao->state();
        if (state == RecordList::State::Edit || state == RecordList::State::Insert) {
            clickCommand(RecordCommand::Confirmar);
            // After an insert the operator goes on inserting.
            if (state == RecordList::State::Insert) {
                clickCommand(RecordCommand::Incluir);
            }
        }
    } else if (key == Qt::Key_F12 && (shift & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (QWidget *control = Consiste::SelectNextControl(pgcPadrao, false, true, false)) {
            Consiste::SelectFirstControl(control->parentWidget());
        }
    }
}

void TfrmCancelamento::mnuFolhaDadosClick(QObject * /*sender*/)
{
    pgcPadrao->SetActivePage(tshPadrao);
}

void TfrmCancelamento::mnuItensClick(QObject * /*sender*/)
{
    pgcPadrao->SetActivePage(tshItens);
}

void TfrmCancelamento::mnuMotivoClick(QObject * /*sender*/)
{
    pgcPadrao->SetActivePage(tshMotivo);
}

void TfrmCancelamento::sbtFiltroClick(QObject * /*sender*/)
{
    // The operator chose the filter himself: leaving the branch need not ask again.
    boFiltro = false;
    const CancellationOperations::Turn vez(*m_operations);
    CriaFiltroCancelamento(telaFiltro());
}

TelaFiltro TfrmCancelamento::telaFiltro()
{
    return {this, [this] { return medCdFilial->text(); }, [this] { listaComNovoFiltro(); }};
}

void TfrmCancelamento::mnuFiltrarClick(QObject * /*sender*/)
{
    const CancellationOperations::Turn vez(*m_operations);
    CriaFiltroCancelamento(telaFiltro());
}

QString TfrmCancelamento::StatusNote() const
{
    return m_operations->note();
}

// The command state: the screen's operations decide it from their facts;
// Habilita only puts that answer on the controls, whenever the facts change.
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
