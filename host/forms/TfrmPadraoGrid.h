#pragma once

#include "THostForm.h"

#include <array>

class QAction;
class QFrame;
class QHBoxLayout;
class QIcon;
class QKeySequence;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;
class QVBoxLayout;
class RecordList;
class TButtonFlat;
class TCustomPageControl98;
class TDBGrid;
class TDBText;
class TDataSource;
class TMessages;

// The base of the host's grid screens: a document window over one record
// list, shown through the data source `dtsPadrao` in the grid `dbgPadrao` on
// the first page `tshPadrao` of `pgcPadrao`.
//
// Top to bottom: the menu bar (`mnuOperacao`, `mnuManutencao`), the tool bar
// `panMenu` with the seven record commands, `sbtImprimir`, `sbtAjuda`,
// `sbtFechar` and the screen-code label `lblCodTela`; any bands a screen adds
// (insertBand); the page control; the navigator bar `panNavigator` with
// first/prior/next/last and the name label `dbtNome`.
//
// Every record command is a tool-bar button and a menu item of
// `mnuManutencao` with the same enabled state, whichever of the two is set.
// A button, its menu item and its shortcut (screen-wide, so two screens never
// fight over a key) run the same virtual handler inside the host guard, with
// the button or the menu item as sender; when a handler is called directly
// (a derived screen calling the base one) its failures go on to the caller.
// The buttons of the tool bar and of the navigator never take the keyboard
// focus: Tab and Shift+Tab go between the screen's fields and grids only.
// Shortcuts: Ctrl+I insert, Ctrl+F find, F3 find the next, F5 verify, Esc cancel, Ctrl+P
// listing, the Insert key on the grid, and the page keys of `pgcPadrao`
// (Ctrl+Tab, Ctrl+PgDn and back) from anywhere in the screen. Ctrl+Enter is left to the
// screens, which confirm with it in their own way.
//
// The status line `stbPadrao` under the navigator counts the records listed
// ("75.121 orçamentos", with the screen's nouns), says so when the list came
// back empty, and adds the screen's short account of its filter and the
// column the grid is ordered by ("Ordem: Cliente, crescente").
//
// Close: the base FormClose frees the screen, once the operator has agreed
// to drop an edit in progress ("Canc", as Esc asks); a "Não" keeps it open.
// FormDestroy unbinds the list.
class TfrmPadraoGrid : public THostForm {
    Q_OBJECT
public:
    enum class RecordCommand { Incluir, Alterar, Excluir, Procurar, Verificar, Cancelar, Confirmar };
    Q_ENUM(RecordCommand)
    static constexpr int recordCommandCount = 7;
    // Every record command, in tool bar order.
    static constexpr std::array<RecordCommand, recordCommandCount> recordCommands{
        RecordCommand::Incluir,   RecordCommand::Alterar,  RecordCommand::Excluir,  RecordCommand::Procurar,
        RecordCommand::Verificar, RecordCommand::Cancelar, RecordCommand::Confirmar};

    explicit TfrmPadraoGrid(QWidget *parent = nullptr);

    // The screen code is the one shown in `lblCodTela`.
    QString ScreenCode() const override;
    void SetScreenCode(const QString &code) override;

    // Shows the grid page.
    void FormCreate() override;
    // Lets the screen be freed (caFree).
    void FormClose(CloseAction &action) override;
    // Lets the grid and the name label go of the list before the screen's
    // own lists are destroyed.
    void FormDestroy() override;
    // Insert (without modifiers) issues the insert command when it is enabled.
    virtual void dbgPadraoKeyDown(TDBGrid &sender, int &key, Qt::KeyboardModifiers shift);

    // The record commands on the list behind `dtsPadrao`; with no list bound
    // they do nothing. Failures of the list go on to the caller.
    virtual void sbtIncluirClick(QObject *sender);   // appends a record
    virtual void sbtAlterarClick(QObject *sender);   // edits the current record
    virtual void sbtExcluirClick(QObject *sender);   // asks "Excl", deletes on Yes
    virtual void sbtProcurarClick(QObject *sender);  // the host's find dialog
    virtual void ProcurarProximoClick(QObject *sender); // F3: the next match of the last find
    virtual void sbtVerificarClick(QObject *sender); // lists again: the screen's own
    virtual void sbtCancelarClick(QObject *sender);  // asks "Canc", cancels the edit on Yes
    virtual void sbtConfirmarClick(QObject *sender); // posts the pending edit
    virtual void sbtImprimirClick(QObject *sender);  // the screen's listing; none here
    virtual void mnuConfigImpressoraClick(QObject *sender);
    virtual void sbtAjudaClick(QObject *sender);
    virtual void sbtFecharClick(QObject *sender);    // closes the screen

    // Clicks a record command from code, as the operator would: nothing
    // happens while it is disabled. The handler runs inside the host guard.
    void clickCommand(RecordCommand command);
    TButtonFlat *commandButton(RecordCommand command) const;
    QAction *commandAction(RecordCommand command) const;

    // The list behind `dtsPadrao`; nullptr when none is bound.
    RecordList *listaPadrao() const;

    // The words the status line counts the records with, and its text for a
    // listing that found none.
    void SetCountWords(const QString &singular, const QString &plural, const QString &nothingFound);
    // The screen's filter in a few words for the status line; none here.
    virtual QString FilterSummary() const { return {}; }
    // What else the status line tells of the list shown (how stale it is,
    // say); none here. A screen whose note changes calls RefreshStatus().
    virtual QString StatusNote() const { return {}; }
    void RefreshStatus();

    QMenuBar *mnuPrincipal;
    QMenu *mnuOperacao;
    QAction *mnuListagem;
    QAction *mnuConfigImpressora;
    QMenu *mnuManutencao;
    QAction *mnuIncluir;
    QAction *mnuAlterar;
    QAction *mnuExcluir;
    QAction *mnuProcurar;
    QAction *mnuVerificar;
    QAction *mnuCancelar;
    QAction *mnuConfirmar;
    // F3 without a menu item of its own: the find's companion key.
    QAction *actProcurarProximo;

    QFrame *panMenu;
    TButtonFlat *sbtIncluir;
    TButtonFlat *sbtAlterar;
    TButtonFlat *sbtExcluir;
    TButtonFlat *sbtProcurar;
    TButtonFlat *sbtVerificar;
    TButtonFlat *sbtCancelar;
    TButtonFlat *sbtConfirmar;
    TButtonFlat *sbtImprimir;
    TButtonFlat *sbtAjuda;
    TButtonFlat *sbtFechar;
    QLabel *lblCodTela;

    TCustomPageControl98 *pgcPadrao;
    QWidget *tshPadrao;
    TDBGrid *dbgPadrao;

    QFrame *panNavigator;
    TButtonFlat *sbtPrimeiro;
    TButtonFlat *sbtAnterior;
    TButtonFlat *sbtProximo;
    TButtonFlat *sbtUltimo;
    TDBText *dbtNome;
    QStatusBar *stbPadrao;

    TDataSource *dtsPadrao;
    TMessages *msgPadrao;
    TMessages *msgMensagensPadroes;

protected:
    // Asks the text of `key` from `table` (the screen's own `msgPadrao` or
    // the host's `msgMensagensPadroes`) with Yes and No; true for Yes.
    bool askYesNo(const TMessages &table, const QString &key);
    // Puts a screen's own button into the tool bar, before `sbtImprimir`,
    // out of the Tab chain like the others.
    void insertToolButton(TButtonFlat *button);
    // Puts a screen's own band between the tool bar and the page control,
    // below the bands inserted before it.
    void insertBand(QWidget *band);

private:
    struct Command {
        TButtonFlat *button;
        QAction *action;
    };
    using Handler = void (TfrmPadraoGrid::*)(QObject *sender);

    void buildMenus();
    void buildToolBar();
    void buildPages();
    void buildNavigator();
    TButtonFlat *addToolButton(QHBoxLayout *bar, const QString &objectName, const QString &hint,
                               const QIcon &glyph, Handler handler);
    QAction *addMenuItem(QMenu *menu, const QString &objectName, const QString &caption,
                         const QKeySequence &shortcut, Handler handler);
    void keepOutOfTabChain(TButtonFlat *button);
    void pairCommand(TButtonFlat *button, QAction *action);
    void runHandler(Handler handler, QObject *sender);
    void refreshNavigator();

    QVBoxLayout *m_layout;
    QHBoxLayout *m_toolBar;
    int m_bandCount = 0;
    QString m_singular;
    QString m_plural;
    QString m_nothingFound;
    std::array<Command, recordCommandCount> m_commands{};
};
