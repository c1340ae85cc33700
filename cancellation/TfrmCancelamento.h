#pragma once

#include "TNetConnection.h"
#include "TfrmPadraoGrid.h"

class Field;
class QLineEdit;
class QPainter;
class QStyleOptionViewItem;
class TADOIBQuery;
class TBtnPesquisa;
class TDBEdit;
class TDBMemo;

// The cancellation screen: lists a branch's event quotes and cancels,
// postpones or re-enables them through the application server.
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
    void netCancelamentoBeforeConnect(TNetConnection &connection);

    // Pages and filter.
    void mnuFolhaDadosClick(QObject *sender);
    void mnuItensClick(QObject *sender);
    void mnuMotivoClick(QObject *sender);
    void sbtFiltroClick(QObject *sender);
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
    void cdsOrcamentoAfterScroll(RecordList &dataSet);
    void pgcPadraoOnChange(TCustomPageControl98 &sender);
    void cdsItemOrcaEvenCalcFields(RecordList &dataSet);

    // The grid.
    bool dbgPadraoDrawColumnCell(QPainter *painter, const QStyleOptionViewItem &option,
                                 const Field &field, int row);
    // Marks the current quote when the mark column is current: a pending or
    // approved quote goes into edit as "Cancelado", a cancelled or postponed
    // one starts re-enabling.
    void dbgPadraoDblClick();
    void dbgPadraoKeyDown(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift) override;
    void dbgPadraoEnter();
    void dbgItemKeyDown(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift);
    QString cdsOrcamentoIDSITUORCEVEGetText(const Field &field) const;
    void cdsOrcamentoIDSITUORCEVESetText(Field &field, const QString &text) const;

    // Re-enabling a cancelled or postponed quote.
    void sbtHabilitaClick(QObject *sender);
    void mnuHabilitaClick(QObject *sender);

    // Command state.
    void Habilita();
    void dtsPadraoStateChange(TDataSource &sender);

    bool PrimeiraAtivacao() const { return boPrimeiraAtivacao; }

    TNetConnection *netCancelamento;

    RecordList *cdsOrcamento;
    RecordList *cdsItemOrcaEven;
    RecordList *cdsMotivo;
    RecordList *cdsObs;
    RecordList *cdsParamOrca;
    TADOIBQuery *qryFilial;
    TDataSource *dstFilial;
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

    QFrame *panFilial;
    QLabel *lblFilial;
    QLineEdit *medCdFilial;
    TBtnPesquisa *btnFilial;
    QLineEdit *edtNmFilial;

    QWidget *tshItens;
    QFrame *panCabecalho;
    QFrame *panCabecalhoOrca;
    QFrame *panPrecoBase;
    QLabel *lblPrecoBase;
    TDBEdit *dbePrecoBase;
    TBtnPesquisa *btnPrcBase;
    TDBEdit *dbeNmPrecoBase;
    TDBGrid *dbgItem;

    QWidget *tshMotivo;
    QFrame *pnlMotivo;
    QLabel *lblNmMot;
    QLineEdit *edtCdMotivo;
    TBtnPesquisa *btpMotivo;
    QLineEdit *edtNmMotivo;
    TDBMemo *dbmMotivo;

private:
    void buildLists();
    void buildToolBarAndMenus();
    void buildBranchPanel();
    void buildItemsPage();
    void buildReasonPage();
    void buildGridColumns();
    void ordenaTabulacao();
    void watchFocus();
    QAction *addScreenAction(QMenu *menu, const QString &objectName, const QString &caption,
                             const QKeySequence &shortcut, void (TfrmCancelamento::*handler)(QObject *));

    // Facts the command state is computed from.
    bool listaVazia() const;
    bool editando() const;
    QString situacaoAtual() const;

    void mostraPagina(QWidget *page);
    void ajustaMenusPaginas();
    void ajustaMarcasPaginas();
    void carregaItens();
    // Empties the items and the justification: until an answer is loaded they
    // belong to no quote, so a failed load never leaves another quote's.
    void esvaziaItens();
    void carregaMotivo();
    void mostraPrecoBase(bool visivel);
    void focaNumeroOrcamento();

    bool boPrimeiraAtivacao = false;
    // The window is going away: the focus leaving its controls as it hides
    // is no operator's doing and must not list or open the filter.
    bool m_fechando = false;
};
