#pragma once

#include "CancellationPanels.h"
#include "ListPlace.h"
#include "TelaFiltro.h"
#include "TfrmPadraoGrid.h"
#include "TNetConnection.h"

#include <QStyle>

#include <memory>
#include <optional>

class Field;
class QuoteWithdrawal;
class CancellationOperations;
class QLineEdit;
class QPainter;
class QStyleOptionViewItem;
class QuoteServer;
class TBtnPesquisa;
class TDBMemo;

// The cancellation screen: lists a branch's event quotes and cancels,
// postpones or re-enables them through the application server.
//
// The screen holds the layout and the handlers; what it knows and the
// operations' steps and outcomes are its CancellationOperations's, which
// also runs one operation at a time: Habilita applies that object's answer
// to "which commands now" whenever it says the facts changed.
//
// Every server call goes through the one connection `netCancelamento`, which
// lives from FormCreate to FormDestroy; a server that cannot be reached does
// not stop the screen from opening, only the calls that need it fail. Handlers
// called from the host (focus events, clicks, page changes, list events) run
// inside the host guard; called directly, their failures (a refused check
// abandons with Abort, a server failure throws std::runtime_error) go on to
// the caller.
class TfrmCancelamento final : public TfrmPadraoGrid {
    Q_OBJECT
public:
    explicit TfrmCancelamento(QWidget *parent = nullptr);
    ~TfrmCancelamento() override;

    // Lifecycle.
    void FormCreate() override;
    void FormActivate() override;
    void FormClose(CloseAction &action) override;
    void FormDestroy() override;
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift) override;
    QString FilterSummary() const override;
    void netCancelamentoBeforeConnect(TNetConnection &connection);

    // Pages and filter.
    void mnuFolhaDadosClick(QObject *sender);
    void mnuItensClick(QObject *sender);
    void mnuMotivoClick(QObject *sender);
    void sbtFiltroClick(QObject *sender);
    // What the filter dialog needs of this screen: its branch and its listing.
    TelaFiltro telaFiltro();
    void mnuFiltrarClick(QObject *sender);

    // Branch.
    void medCdFilialChange();
    void medCdFilialExit();
    void btnFilialBeforePesq(TBtnPesquisa &sender, bool &proceed);
    void btnFilialAfterPesq(TBtnPesquisa &sender);
    void panFilialEnter();
    void panFilialExit();

    // Quotes and their details.
    void sbtVerificarClick(QObject *sender) override;
    void sbtProcurarClick(QObject *sender) override;
    // F3 goes on in the list of the page shown, as the find does.
    void ProcurarProximoClick(QObject *sender) override;
    void cdsOrcamentoAfterScroll(RecordList &dataSet);
    void pgcPadraoOnChange(TCustomPageControl98 &sender);
    void cdsItemOrcaEvenCalcFields(RecordList &dataSet);

    // The grid.
    bool dbgPadraoDrawColumnCell(QPainter *painter, const QStyleOptionViewItem &option,
                                 const Field &field, int row);
    // Marks the current quote when the mark column is current.
    void dbgPadraoDblClick();
    void dbgPadraoKeyDown(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift) override;
    void dbgPadraoEnter();
    void dbgItemKeyDown(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift);
    QString cdsOrcamentoIDSITUORCEVEGetText(const Field &field) const;
    void cdsOrcamentoIDSITUORCEVESetText(Field &field, const QString &text) const;

    // The reason of a cancellation or postponement.
    void edtCdMotivoKeyPress(QChar &key);
    void edtCdMotivoEnter();
    void edtCdMotivoExit();
    void btpMotivoClick(QObject *sender);
    // Checks the reason code against the server; with `obrigatorio` an empty
    // code is refused. A refusal shows its message and abandons (Abort).
    void Vd_Motivo(bool obrigatorio);

    // Storing the marked quote as cancelled or postponed, or dropping it.
    void sbtConfirmarClick(QObject *sender) override;
    void sbtCancelarClick(QObject *sender) override;
    void cdsOrcamentoBeforePost(RecordList &dataSet);
    void cdsOrcamentoAfterPost(RecordList &dataSet);
    void cdsOrcamentoAfterCancel(RecordList &dataSet);
    void cdsOrcamentoAfterDelete(RecordList &dataSet);
    void cdsMotivoAfterPost(RecordList &dataSet);

    // The justification text stored with a cancellation or postponement.
    void pnlMotivoExit();
    void cdsObsBeforePost(RecordList &dataSet);
    void cdsObsAfterPost(RecordList &dataSet);
    void dtsObsStateChange(TDataSource &sender);

    // Re-enabling a cancelled or postponed quote.
    void sbtHabilitaClick(QObject *sender);
    void mnuHabilitaClick(QObject *sender);
    // Finishes the steps a store left (the hall's release, the justification).
    void mnuConcluirClick(QObject *sender);

    // Command state.
    void Habilita();
    void dtsPadraoStateChange(TDataSource &sender);

    bool PrimeiraAtivacao() const { return boPrimeiraAtivacao; }

    // How many listed quotes other operators changed since the listing, and
    // the stores with steps left.
    QString StatusNote() const override;

private:
    // The list the find works on: the quotes or the items, by the page
    // shown; nullptr on another page or while that list is closed.
    RecordList *listaDaPaginaAtiva() const;
    void criaListas();
    TDataSource *criaFonte(const char *name, RecordList *list);
    void criaBarraEMenus();
    QAction *criaAcao(const char *name, const QString &caption, const QKeySequence &shortcut,
                      void (TfrmCancelamento::*handler)(QObject *));
    QAction *criaSeparador(const char *name);
    TButtonFlat *criaBotao(const char *name, const QString &hint, QStyle::StandardPixmap glyph,
                           void (TfrmCancelamento::*handler)(QObject *));
    void criaPaineis();
    void criaColunasGrade();
    // The history of the current quote and the export of the list.
    void mnuHistoricoClick(QObject *sender);
    void mnuExportarClick(QObject *sender);
    void ordenaTabulacao();
    void vigiaFoco();

    // Operations several handlers share.
    // Lists the branch's quotes again with the screen's filter, keeping the
    // operator's place.
    void listaOrcamentos();
    std::optional<ListPlace> lugarAtual() const;
    // Lists with a filter the operator has just given: in the list's own
    // order, the order of a column belonging to the earlier listing.
    void listaComNovoFiltro();
    // Lists, then goes back where the operator stood, at the same height.
    void listaDeVolta(const std::optional<ListPlace> &lugar);
    // Reads the current quote's items, justification and reason for the
    // page shown.
    void carregaDetalhes();
    // Shows the reason page with the focus in the reason code.
    void abrePaginaMotivo();
    // Asks, and gives a cancelled or postponed quote its earlier state back.
    void reabilitaOrcamento();
    // Drops the quote being edited and lists again, without asking.
    void descartaEdicao();

    // Marks the current quote when the mark column is current: a pending or
    // approved quote goes into edit as "Cancelado", a cancelled or postponed
    // one starts re-enabling.
    void marcaOrcamento();
    // Takes the branch typed or fixed and lists its quotes, through the
    // filter dialog when the screen asks for it.
    void aceitaFilial();
    // Reads what the page shown needs for the current quote.
    void atualizaPaginaAtiva();

    // Puts the justification into edit, for a quote being cancelled only.
    void editaJustificativa();
    void focaNumeroOrcamento();

    // The lists and controls are the screen's own: others reach them through
    // the handlers above. Each carries its member name as its object name.
    TNetConnection *netCancelamento;
    std::unique_ptr<QuoteServer> m_servidor;
    CancellationOperations *m_operations;

    RecordList *cdsOrcamento;
    RecordList *cdsItemOrcaEven;
    RecordList *cdsMotivo;
    RecordList *cdsObs;
    RecordList *cdsParamOrca;
    TDataSource *dtsItemOrcaEven;
    TDataSource *dtsMotivo;
    TDataSource *dtsObs;

    TButtonFlat *sbtFiltro;
    TButtonFlat *sbtHabilita;
    QLabel *imgCheck;
    QLabel *imgUncheck;
    QAction *mnuFolhaDados;
    QAction *mnuItens;
    QAction *mnuMotivo;
    QAction *N1;
    QAction *N2;
    QAction *mnuFiltrar;
    QAction *N3;
    QAction *mnuHabilita;
    QAction *mnuConcluir;
    QAction *mnuHistorico;
    QAction *mnuExportar;
    QAction *N4;

    BranchPanel *panFilial;
    QLineEdit *medCdFilial;
    TBtnPesquisa *btnFilial;
    QLineEdit *edtNmFilial;

    ItemsPage *tshItens;

    ReasonPage *tshMotivo;
    QFrame *pnlMotivo;
    QLabel *lblNmMot;
    QLineEdit *edtCdMotivo;
    TBtnPesquisa *btpMotivo;
    QLineEdit *edtNmMotivo;
    TDBMemo *dbmMotivo;

    bool boPrimeiraAtivacao = false;
    // The screen itself takes the focus off the reason page while it stores
    // the quote: that is not the operator leaving the reason.
    bool m_gravando = false;
    // The store under way, which the justification's post reports to.
    QuoteWithdrawal *m_gravacao = nullptr;
};
