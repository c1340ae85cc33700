#pragma once

#include "TNetConnection.h"
#include "TelaFiltro.h"
#include "TfrmPadraoGrid.h"

#include <QJsonObject>
#include <QList>
#include <QSet>

#include <exception>
#include <optional>

class Field;
class QLineEdit;
class QPainter;
class QStyleOptionViewItem;
class QTimer;
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

    // Command state.
    void Habilita();
    void dtsPadraoStateChange(TDataSource &sender);

    bool PrimeiraAtivacao() const { return boPrimeiraAtivacao; }

    // How many listed quotes other operators changed since the listing.
    QString StatusNote() const override;

private:
    // The list the find works on: the quotes or the items, by the page
    // shown; nullptr on another page or while that list is closed.
    RecordList *listaDaPaginaAtiva() const;
    void criaListas();
    void criaBarraEMenus();
    void criaPainelFilial();
    void criaPaginaItens();
    void criaPaginaMotivo();
    void identificaOrcamentoMotivo();
    void criaColunasGrade();
    // The history of the current quote and the export of the list.
    void criaHistoricoExportar();
    void mnuHistoricoClick(QObject *sender);
    void mnuExportarClick(QObject *sender);
    void ordenaTabulacao();
    void vigiaFoco();
    QAction *criaAcao(QMenu *menu, const QString &objectName, const QString &caption, const QKeySequence &shortcut,
                      void (TfrmCancelamento::*handler)(QObject *));

    // Operations several handlers share.
    // Lists the branch's quotes again with the screen's filter, keeping the
    // operator's place.
    void listaOrcamentos();
    // Where the operator stands in the list: the current quote and those
    // after it in the order shown ("number-sequence" each), and how far
    // below the grid's top row the current one shows.
    struct Lugar {
        QStringList daquiEmDiante;
        int alturaNaTela = 0;
    };
    std::optional<Lugar> lugarAtual() const;
    // The "number-sequence" of each row from `primeira` to the end.
    QStringList chavesDesde(int primeira) const;
    // After a listing: back on the quote that was current, or, when it is no
    // longer listed, on the first listed of those that followed it (the last
    // row when none is); at its height.
    void voltaAoLugar(const std::optional<Lugar> &lugar);
    // Lists with a filter the operator has just given: in the list's own
    // order, the order of a column belonging to the earlier listing.
    void listaComNovoFiltro();
    void listaDeVolta(const std::optional<Lugar> &lugar);
    // Reads the current quote's items, justification and reason for the
    // page shown.
    void carregaDetalhes();
    // Shows the reason page with the focus in the reason code.
    void abrePaginaMotivo();
    // Asks, and gives a cancelled or postponed quote its earlier state back.
    void reabilitaOrcamento();
    // Drops the quote being edited and lists again, without asking.
    void descartaEdicao();

    // Other operators' changes and a lost server. Notices and a new
    // connection wait while a question is on screen, and are taken in turn.
    void recebeAvisos(const QList<QJsonObject> &avisos);
    void conexaoRefeita(const QString &servidor);
    void trataPendencias();
    // Shows each notice's quote as it now is, in place; a change to the
    // quote being edited is told and the edit dropped.
    void aplicaAvisos();
    void descartaEdicaoAlterada(const QJsonObject &aviso);
    // The row of a listed quote; -1 when it is not listed.
    int linhaDoOrcamento(const QString &numero, const QString &sequencia) const;
    QString valorNaLinha(int linha, const QString &campo) const;
    // The quote's state as the server holds it now; empty when it has none.
    QString situacaoNoServidor(const QString &filial, const QString &numero, const QString &sequencia);
    // After `queda` broke off a write of the quote to the state `pedida`:
    // returns when the server holds that state (the write went through);
    // otherwise tells the operator that nothing was stored or repeated, and
    // abandons.
    void confereGravacao(const QString &filial, const QString &numero, const QString &sequencia, const QString &pedida,
                         const std::exception &queda);
    // Marks the current quote when the mark column is current: a pending or
    // approved quote goes into edit as "Cancelado", a cancelled or postponed
    // one starts re-enabling.
    void marcaOrcamento();
    // Takes the branch typed or fixed and lists its quotes, through the
    // filter dialog when the screen asks for it.
    void aceitaFilial();
    // Reads what the page shown needs for the current quote.
    void atualizaPaginaAtiva();

    // Facts the command state is computed from.
    bool listaVazia() const;
    bool editando() const;
    QString situacaoAtual() const;
    // The current quote's state as stored: a marked quote reads "8" in the
    // list, but until it is posted it is still the pending or approved quote
    // that needs a reason.
    QString situacaoGravada() const;

    void carregaItens();
    // Empties the items and the justification: until an answer is loaded they
    // belong to no quote, so a failed load never leaves another quote's.
    void esvaziaItens();
    // Empties the reason shown, as esvaziaItens the items.
    void esvaziaMotivo();
    void carregaMotivo();
    void mostraPrecoBase(bool visivel);
    // SetOrcamento with the quote list's pending changes, then the merge and
    // the refresh of the host's cached copy.
    void enviaOrcamento();
    // Releases the hall and stores the justification of a quote whose new
    // state the server has already stored.
    void liberaSalaoEJustifica();
    // Puts the justification into edit, for a quote being cancelled only.
    void editaJustificativa();
    // The bookings that hold the quote's hall, as lines for the operator;
    // empty when the server cannot say.
    QString quemOcupaSalao(const QString &filial, const QString &numero, const QString &sequencia);
    // Reports a hall that cannot take the quote back and abandons.
    [[noreturn]] void recusaSalao(const QString &salao, const QString &detalhes);
    void focaNumeroOrcamento();

    // The lists and controls are the screen's own: others reach them through
    // the handlers above. Each carries its member name as its object name.
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
    QAction *mnuHistorico;
    QAction *mnuExportar;
    QAction *N4;

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
    // Which quote the reason is for: number, sequence and client.
    QLabel *lblOrcamentoMotivo;
    QFrame *pnlMotivo;
    QLabel *lblNmMot;
    QLineEdit *edtCdMotivo;
    TBtnPesquisa *btpMotivo;
    QLineEdit *edtNmMotivo;
    TDBMemo *dbmMotivo;

    bool boPrimeiraAtivacao = false;
    // The branch panel has had the focus (or the host fixed the branch):
    // the pages may be used from then on.
    bool m_filialOferecida = false;
    // The focus is in the branch panel (entered, not left, and the screen
    // not activated since): only the branch can be used.
    bool m_escolhendoFilial = false;
    // The window is going away: the focus leaving its controls as it hides
    // is no operator's doing and must not list or open the filter.
    bool m_fechando = false;
    // The screen itself takes the focus off the reason page while it stores
    // the quote: that is not the operator leaving the reason.
    bool m_gravando = false;
    // SetObs has stored the justification of the quote being stored: what
    // fails after it is no longer the justification.
    bool m_justificativaGravada = false;

    // The branch the list shown belongs to, and the quotes in it that other
    // operators changed since it was read ("number-sequence").
    QString m_filialListada;
    QSet<QString> m_alteradosPorOutros;
    QList<QJsonObject> m_avisosPendentes;
    // The connection was made again: the list may lack what changed meanwhile.
    bool m_listaVelha = false;
    bool m_tratandoPendencias = false;
    QTimer *m_esperaPendencias;
};
