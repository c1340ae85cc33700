#include "TfrmCancelamento.h"

#include "Cli_cxl04100.h"
#include "Cli_cxl04101.h"
#include "Consiste.h"
#include "Corvane.h"
#include "FiltroResumo.h"
#include "HostGuard.h"
#include "RecordList.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDataSource.h"
#include "TFiltro.h"
#include "TMessages.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

// The screen's texts, looked up by key; the quote states are keyed by their
// own codes, so a state shows as its word.
QStringList mensagens()
{
    return {
        QStringLiteral("Excl|Confirma exclusão?"),
        QStringLiteral("padrao|Padrão"),
        QStringLiteral("Local|Local"),
        QStringLiteral("Filial_N_Inf|Filial deve ser informada."),
        QStringLiteral("1|Pendente"),
        QStringLiteral("2|Aprovado"),
        QStringLiteral("8|Cancelado"),
        QStringLiteral("Motivo|Motivo"),
        QStringLiteral("Motivo_NCad|Motivo não cadastrado."),
        QStringLiteral("Motivo_N_Inf|Motivo deve ser informado."),
        QStringLiteral("Canc_Canc|Deseja cancelar?"),
        QStringLiteral("9|Adiado"),
        QStringLiteral("confirmar|Escollha uma operação"),
        QStringLiteral("btnCancelar|Cancelar"),
        QStringLiteral("btnAdiar|Adiar"),
        QStringLiteral("SUCESSO|Operação realizada com sucesso."),
        QStringLiteral("Motivo_N_cad|Motivo não cadastrado."),
        QStringLiteral("HABI_ORCA|O orçamento selecionado será habilitado. Confirma operação?"),
        QStringLiteral("Filial_N_Cad|Filial não cadastrada."),
        QStringLiteral("btnVoltar|Voltar"),
        QStringLiteral("Qt_Agen|Limite de agendamentos para o salão %s foi atingido. Operação bloqueada."),
        QStringLiteral("DtHr_Marc|O salão %s já possui evento(s) marcado(s) para a data e hora selecionada no "
                       "orçamento. Operação bloqueada."),
        QStringLiteral("N_Limite_Param|Não há limite de agendamento parametrizado para o salão %s. Operação "
                       "bloqueada."),
    };
}

} // namespace

TfrmCancelamento::TfrmCancelamento(QWidget *parent)
    : TfrmPadraoGrid(parent)
    , netCancelamento(new TNetConnection(this))
{
    setObjectName(QStringLiteral("frmCancelamento"));
    setWindowTitle(QStringLiteral("Cancelamento"));
    lblCodTela->setText(QStringLiteral("CXL04100"));
    msgPadrao->setLines(mensagens());
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
    // What only reads may be asked again of the next server; a write never is.
    netCancelamento->SetReadMethods({QStringLiteral("GetOrcamento"), QStringLiteral("GetItemOrc"), QStringLiteral("GetMotivo"),
                                     QStringLiteral("GetParamOrca"), QStringLiteral("getSituAnterior"),
                                     QStringLiteral("getVerifSalao"), QStringLiteral("getBloqueioSalao"),
                                     QStringLiteral("GetHistorico")});
    connect(netCancelamento, &TNetConnection::NoticesArrived, this, &TfrmCancelamento::recebeAvisos);
    connect(netCancelamento, &TNetConnection::ServerChanged, this, &THostForm::SetServer);
    connect(netCancelamento, &TNetConnection::Reconnected, this, &TfrmCancelamento::conexaoRefeita);
    m_esperaPendencias = new QTimer(this);
    m_esperaPendencias->setSingleShot(true);
    connect(m_esperaPendencias, &QTimer::timeout, this, &TfrmCancelamento::trataPendencias);

    criaListas();
    criaBarraEMenus();
    criaPainelFilial();
    criaPaginaItens();
    criaPaginaMotivo();
    criaColunasGrade();
    criaHistoricoExportar();
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
}

void TfrmCancelamento::FormActivate()
{
    TfrmPadraoGrid::FormActivate();
    update();
    if (boPrimeiraAtivacao) {
        medCdFilial->setText(Corvane::FiliProc());
        edtNmFilial->setText(Corvane::NomeFiliProc());
        if (Corvane::ModuFili()) {
            // The fixed branch is never typed: closed before it is used.
            Habilita();
            aceitaFilial();
        } else {
            medCdFilial->setFocus(Qt::OtherFocusReason);
        }
        cdsItemOrcaEven->fieldByName(QStringLiteral("CDARVPROD")).setEditMask(Corvane::DBPict(0));
        cdsObs->createDataSet();
        boPrimeiraAtivacao = false;
    }
    // An activation puts the rules back in force, even for a branch being chosen.
    m_escolhendoFilial = false;
    Habilita();
    boFiltro = true;
}

void TfrmCancelamento::FormClose(CloseAction &action)
{
    TfrmPadraoGrid::FormClose(action);
    m_fechando = action != caNone;
    // A screen the operator kept open is still the module's one screen.
    if (m_fechando) {
        boStCriado = false;
    }
    m_escolhendoFilial = false;
    Habilita();
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
    CriaFiltroCancelamento(telaFiltro());
    Habilita();
}

TelaFiltro TfrmCancelamento::telaFiltro()
{
    return {this, [this] { return medCdFilial->text(); }, [this] { listaComNovoFiltro(); }};
}

void TfrmCancelamento::mnuFiltrarClick(QObject * /*sender*/)
{
    CriaFiltroCancelamento(telaFiltro());
}
