#include "TfrmPadraoGrid.h"

#include "DisplayFormat.h"
#include "HostDialogs.h"
#include "HostGuard.h"
#include "Procurar.h"
#include "RecordList.h"
#include "TButtonFlat.h"
#include "TCustomPageControl98.h"
#include "TDBGrid.h"
#include "TDBText.h"
#include "TDataSource.h"
#include "TMessages.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

TfrmPadraoGrid::TfrmPadraoGrid(QWidget *parent)
    : THostForm(parent)
    , dtsPadrao(new TDataSource(this))
    , msgPadrao(new TMessages(QStringLiteral("msgPadrao"), this))
    , msgMensagensPadroes(new TMessages(QStringLiteral("msgMensagensPadroes"), this))
    , m_layout(new QVBoxLayout(this))
{
    setObjectName(QStringLiteral("frmPadraoGrid"));
    dtsPadrao->setObjectName(QStringLiteral("dtsPadrao"));
    msgMensagensPadroes->setLines(TMessages::padroes());
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);

    buildMenus();
    buildToolBar();
    buildPages();
    buildNavigator();

    m_commands = {{{sbtIncluir, mnuIncluir},
                   {sbtAlterar, mnuAlterar},
                   {sbtExcluir, mnuExcluir},
                   {sbtProcurar, mnuProcurar},
                   {sbtVerificar, mnuVerificar},
                   {sbtCancelar, mnuCancelar},
                   {sbtConfirmar, mnuConfirmar}}};
    for (const Command &command : m_commands) {
        pairCommand(command.button, command.action);
    }

    connect(dtsPadrao, &TDataSource::stateChanged, this, &TfrmPadraoGrid::refreshNavigator);
    connect(dtsPadrao, &TDataSource::dataChanged, this, &TfrmPadraoGrid::refreshNavigator);
    connect(dtsPadrao, &TDataSource::currentChanged, this, &TfrmPadraoGrid::refreshNavigator);
    connect(dtsPadrao, &TDataSource::dataSetChanged, this, &TfrmPadraoGrid::refreshNavigator);
    connect(dtsPadrao, &TDataSource::dataChanged, this, &TfrmPadraoGrid::RefreshStatus);
    connect(dtsPadrao, &TDataSource::dataSetChanged, this, &TfrmPadraoGrid::RefreshStatus);
    refreshNavigator();
}

void TfrmPadraoGrid::buildMenus()
{
    mnuPrincipal = new QMenuBar(this);
    mnuPrincipal->setObjectName(QStringLiteral("mnuPrincipal"));
    // The screen's menu lives in its own window, so two open screens each
    // keep theirs.
    mnuPrincipal->setNativeMenuBar(false);
    m_layout->setMenuBar(mnuPrincipal);

    mnuOperacao = mnuPrincipal->addMenu(QStringLiteral("&Operação"));
    mnuOperacao->setObjectName(QStringLiteral("mnuOperacao"));
    mnuListagem = addMenuItem(mnuOperacao, QStringLiteral("mnuListagem"), QStringLiteral("&Listagem"),
                              QKeySequence(Qt::CTRL | Qt::Key_P), &TfrmPadraoGrid::sbtImprimirClick);
    mnuConfigImpressora = addMenuItem(mnuOperacao, QStringLiteral("mnuConfigImpressora"),
                                      QStringLiteral("&Configurar Impressora"), QKeySequence(),
                                      &TfrmPadraoGrid::mnuConfigImpressoraClick);

    mnuManutencao = mnuPrincipal->addMenu(QStringLiteral("&Manutenção"));
    mnuManutencao->setObjectName(QStringLiteral("mnuManutencao"));
    mnuIncluir = addMenuItem(mnuManutencao, QStringLiteral("mnuIncluir"), QStringLiteral("&Incluir"),
                             QKeySequence(Qt::CTRL | Qt::Key_I), &TfrmPadraoGrid::sbtIncluirClick);
    mnuAlterar = addMenuItem(mnuManutencao, QStringLiteral("mnuAlterar"), QStringLiteral("&Alterar"),
                             QKeySequence(), &TfrmPadraoGrid::sbtAlterarClick);
    mnuExcluir = addMenuItem(mnuManutencao, QStringLiteral("mnuExcluir"), QStringLiteral("&Excluir"),
                             QKeySequence(), &TfrmPadraoGrid::sbtExcluirClick);
    mnuProcurar = addMenuItem(mnuManutencao, QStringLiteral("mnuProcurar"), QStringLiteral("&Procurar"),
                              QKeySequence(Qt::CTRL | Qt::Key_F), &TfrmPadraoGrid::sbtProcurarClick);
    mnuVerificar = addMenuItem(mnuManutencao, QStringLiteral("mnuVerificar"), QStringLiteral("&Verificar"),
                               QKeySequence(Qt::Key_F5), &TfrmPadraoGrid::sbtVerificarClick);
    // Esc drops the edit in progress; the command is enabled only then.
    mnuCancelar = addMenuItem(mnuManutencao, QStringLiteral("mnuCancelar"), QStringLiteral("Ca&ncelar"),
                              QKeySequence(Qt::Key_Escape), &TfrmPadraoGrid::sbtCancelarClick);
    mnuConfirmar = addMenuItem(mnuManutencao, QStringLiteral("mnuConfirmar"), QStringLiteral("C&onfirmar"),
                               QKeySequence(), &TfrmPadraoGrid::sbtConfirmarClick);
    actProcurarProximo = addMenuItem(nullptr, QStringLiteral("actProcurarProximo"), QStringLiteral("Procurar próximo"),
                                     QKeySequence(Qt::Key_F3), &TfrmPadraoGrid::ProcurarProximoClick);
}

void TfrmPadraoGrid::buildToolBar()
{
    panMenu = new QFrame(this);
    panMenu->setObjectName(QStringLiteral("panMenu"));
    panMenu->setFrameShape(QFrame::StyledPanel);
    m_toolBar = new QHBoxLayout(panMenu);
    m_toolBar->setContentsMargins(4, 2, 4, 2);
    m_toolBar->setSpacing(2);
    QStyle *look = style();
    sbtIncluir = addToolButton(m_toolBar, QStringLiteral("sbtIncluir"), QStringLiteral("Incluir"),
                               look->standardIcon(QStyle::SP_FileIcon), &TfrmPadraoGrid::sbtIncluirClick);
    sbtAlterar = addToolButton(m_toolBar, QStringLiteral("sbtAlterar"), QStringLiteral("Alterar"),
                               look->standardIcon(QStyle::SP_FileDialogDetailedView),
                               &TfrmPadraoGrid::sbtAlterarClick);
    sbtExcluir = addToolButton(m_toolBar, QStringLiteral("sbtExcluir"), QStringLiteral("Excluir"),
                               look->standardIcon(QStyle::SP_TrashIcon), &TfrmPadraoGrid::sbtExcluirClick);
    sbtProcurar = addToolButton(m_toolBar, QStringLiteral("sbtProcurar"), QStringLiteral("Procurar"),
                                look->standardIcon(QStyle::SP_FileDialogContentsView),
                                &TfrmPadraoGrid::sbtProcurarClick);
    sbtVerificar = addToolButton(m_toolBar, QStringLiteral("sbtVerificar"), QStringLiteral("Verificar"),
                                 look->standardIcon(QStyle::SP_BrowserReload), &TfrmPadraoGrid::sbtVerificarClick);
    sbtCancelar = addToolButton(m_toolBar, QStringLiteral("sbtCancelar"), QStringLiteral("Cancelar"),
                                look->standardIcon(QStyle::SP_DialogCancelButton),
                                &TfrmPadraoGrid::sbtCancelarClick);
    sbtConfirmar = addToolButton(m_toolBar, QStringLiteral("sbtConfirmar"), QStringLiteral("Confirmar"),
                                 look->standardIcon(QStyle::SP_DialogApplyButton),
                                 &TfrmPadraoGrid::sbtConfirmarClick);
    m_toolBar->addSpacing(12);
    sbtImprimir = addToolButton(m_toolBar, QStringLiteral("sbtImprimir"), QStringLiteral("Imprimir"),
                                look->standardIcon(QStyle::SP_FileDialogListView), &TfrmPadraoGrid::sbtImprimirClick);
    sbtAjuda = addToolButton(m_toolBar, QStringLiteral("sbtAjuda"), QStringLiteral("Ajuda"),
                             look->standardIcon(QStyle::SP_DialogHelpButton), &TfrmPadraoGrid::sbtAjudaClick);
    sbtFechar = addToolButton(m_toolBar, QStringLiteral("sbtFechar"), QStringLiteral("Fechar"),
                              look->standardIcon(QStyle::SP_DialogCloseButton), &TfrmPadraoGrid::sbtFecharClick);
    m_toolBar->addStretch(1);
    lblCodTela = new QLabel(panMenu);
    lblCodTela->setObjectName(QStringLiteral("lblCodTela"));
    m_toolBar->addWidget(lblCodTela);
    m_layout->addWidget(panMenu);
}

void TfrmPadraoGrid::buildPages()
{
    pgcPadrao = new TCustomPageControl98(this);
    pgcPadrao->setObjectName(QStringLiteral("pgcPadrao"));
    tshPadrao = new QWidget;
    tshPadrao->setObjectName(QStringLiteral("tshPadrao"));
    auto *page = new QVBoxLayout(tshPadrao);
    page->setContentsMargins(2, 2, 2, 2);
    dbgPadrao = new TDBGrid(tshPadrao);
    dbgPadrao->setObjectName(QStringLiteral("dbgPadrao"));
    dbgPadrao->setDataSource(dtsPadrao);
    dbgPadrao->onKeyDown = [this](TDBGrid &sender, int &key, Qt::KeyboardModifiers shift) {
        dbgPadraoKeyDown(sender, key, shift);
    };
    page->addWidget(dbgPadrao);
    pgcPadrao->addTab(tshPadrao, QStringLiteral("Folha Dados (Grade)"));
    // The pages are the screen's: their keys work from its bands too.
    pgcPadrao->reachPagesFrom(this);
    m_layout->addWidget(pgcPadrao, 1);
}

void TfrmPadraoGrid::buildNavigator()
{
    panNavigator = new QFrame(this);
    panNavigator->setObjectName(QStringLiteral("panNavigator"));
    panNavigator->setFrameShape(QFrame::StyledPanel);
    auto *bar = new QHBoxLayout(panNavigator);
    bar->setContentsMargins(4, 2, 4, 2);
    bar->setSpacing(2);
    const auto move = [this](void (RecordList::*step)()) {
        return [this, step] {
            HostGuard::run([this, step] {
                if (RecordList *list = listaPadrao()) {
                    (list->*step)();
                }
            });
        };
    };
    const struct {
        TButtonFlat **button;
        const char *name;
        const char *hint;
        QStyle::StandardPixmap glyph;
        void (RecordList::*step)();
    } steps[] = {
        {&sbtPrimeiro, "sbtPrimeiro", "Primeiro", QStyle::SP_MediaSkipBackward, &RecordList::first},
        {&sbtAnterior, "sbtAnterior", "Anterior", QStyle::SP_MediaSeekBackward, &RecordList::prior},
        {&sbtProximo, "sbtProximo", "Próximo", QStyle::SP_MediaSeekForward, &RecordList::next},
        {&sbtUltimo, "sbtUltimo", "Último", QStyle::SP_MediaSkipForward, &RecordList::last},
    };
    for (const auto &step : steps) {
        auto *button = new TButtonFlat(panNavigator);
        button->setObjectName(QLatin1String(step.name));
        button->SetGlyph(style()->standardIcon(step.glyph));
        button->SetHint(QString::fromUtf8(step.hint));
        connect(button, &QAbstractButton::clicked, this, move(step.step));
        keepOutOfTabChain(button);
        bar->addWidget(button);
        *step.button = button;
    }
    dbtNome = new TDBText(panNavigator);
    dbtNome->setObjectName(QStringLiteral("dbtNome"));
    dbtNome->setDataSource(dtsPadrao);
    bar->addSpacing(8);
    bar->addWidget(dbtNome, 1);
    m_layout->addWidget(panNavigator);

    stbPadrao = new QStatusBar(this);
    stbPadrao->setObjectName(QStringLiteral("stbPadrao"));
    stbPadrao->setSizeGripEnabled(false);
    m_layout->addWidget(stbPadrao);
}

TButtonFlat *TfrmPadraoGrid::addToolButton(QHBoxLayout *bar, const QString &objectName, const QString &hint,
                                           const QIcon &glyph, Handler handler)
{
    auto *button = new TButtonFlat(panMenu);
    button->setObjectName(objectName);
    button->SetGlyph(glyph);
    button->SetHint(hint);
    connect(button, &QAbstractButton::clicked, this, [this, button, handler] { runHandler(handler, button); });
    keepOutOfTabChain(button);
    bar->addWidget(button);
    return button;
}

void TfrmPadraoGrid::keepOutOfTabChain(TButtonFlat *button)
{
    // The bars' buttons act on click and shortcut only: with Tab stopping on
    // them, Shift+Tab from the grid would end on a button with no visible
    // focus mark instead of going back to the screen's fields.
    button->setFocusPolicy(Qt::NoFocus);
}

QAction *TfrmPadraoGrid::addMenuItem(QMenu *menu, const QString &objectName, const QString &caption,
                                     const QKeySequence &shortcut, Handler handler)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(objectName);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, [this, action, handler] { runHandler(handler, action); });
    if (menu) {
        menu->addAction(action);
    }
    // The shortcut works wherever the focus is inside the screen, not only
    // while its menu is open.
    addAction(action);
    return action;
}

void TfrmPadraoGrid::pairCommand(TButtonFlat *button, QAction *action)
{
    button->SetShortcutHint(action->shortcut());
    action->setEnabled(button->isEnabled());
    connect(button, &TButtonFlat::enabledChanged, action, &QAction::setEnabled);
    // Only a real difference is passed back: a button greyed with its whole
    // tool bar must not be disabled for good by its own echo.
    connect(action, &QAction::enabledChanged, button, [button](bool enabled) {
        if (button->isEnabled() != enabled) {
            button->setEnabled(enabled);
        }
    });
}

void TfrmPadraoGrid::runHandler(Handler handler, QObject *sender)
{
    HostGuard::run([this, handler, sender] { (this->*handler)(sender); });
}

void TfrmPadraoGrid::insertToolButton(TButtonFlat *button)
{
    button->setParent(panMenu);
    keepOutOfTabChain(button);
    m_toolBar->insertWidget(m_toolBar->indexOf(sbtImprimir), button);
}

void TfrmPadraoGrid::insertBand(QWidget *band)
{
    ++m_bandCount;
    m_layout->insertWidget(m_layout->indexOf(panMenu) + m_bandCount, band);
}

RecordList *TfrmPadraoGrid::listaPadrao() const
{
    return dtsPadrao->dataSet();
}

TButtonFlat *TfrmPadraoGrid::commandButton(RecordCommand command) const
{
    return m_commands[int(command)].button;
}

QAction *TfrmPadraoGrid::commandAction(RecordCommand command) const
{
    return m_commands[int(command)].action;
}

void TfrmPadraoGrid::clickCommand(RecordCommand command)
{
    commandButton(command)->click();
}

bool TfrmPadraoGrid::askYesNo(const TMessages &table, const QString &key)
{
    const int answer = HostDialogs::current().ask(HostDialogs::Icon::Question, Caption(), table.Msg(key),
                                                  {QStringLiteral("&Sim"), QStringLiteral("&Não")});
    return answer == 0;
}

void TfrmPadraoGrid::refreshNavigator()
{
    const RecordList *list = listaPadrao();
    const bool browsing = list && list->isActive() && !list->isEmpty();
    const bool atFirst = !browsing || list->recNo() <= 0;
    const bool atLast = !browsing || list->recNo() >= list->recordCount() - 1;
    sbtPrimeiro->setEnabled(!atFirst);
    sbtAnterior->setEnabled(!atFirst);
    sbtProximo->setEnabled(!atLast);
    sbtUltimo->setEnabled(!atLast);
}

void TfrmPadraoGrid::SetCountWords(const QString &singular, const QString &plural, const QString &nothingFound)
{
    m_singular = singular;
    m_plural = plural;
    m_nothingFound = nothingFound;
    RefreshStatus();
}

void TfrmPadraoGrid::RefreshStatus()
{
    const RecordList *list = listaPadrao();
    if (!list || !list->isActive() || m_plural.isEmpty()) {
        stbPadrao->clearMessage();
        return;
    }
    const int count = list->recordCount();
    QString text = count == 0 ? m_nothingFound
                              : QStringLiteral("%1 %2").arg(DisplayFormat::brazilian().toString(count),
                                                            count == 1 ? m_singular : m_plural);
    const QString filter = FilterSummary();
    if (!filter.isEmpty()) {
        text += QStringLiteral("   Filtro: ") + filter;
    }
    const QString orderTitle = list->orderField().isEmpty() ? QString() : dbgPadrao->titleOfField(list->orderField());
    if (!orderTitle.isEmpty()) {
        text += QStringLiteral("   Ordem: %1, %2").arg(orderTitle, list->orderDirection() == Qt::AscendingOrder
                                                                      ? QStringLiteral("crescente")
                                                                      : QStringLiteral("decrescente"));
    }
    const QString note = StatusNote();
    if (!note.isEmpty()) {
        text += QStringLiteral("   ") + note;
    }
    stbPadrao->showMessage(text);
}

QString TfrmPadraoGrid::ScreenCode() const
{
    return lblCodTela->text();
}

void TfrmPadraoGrid::SetScreenCode(const QString &code)
{
    lblCodTela->setText(code);
}

void TfrmPadraoGrid::FormCreate()
{
    pgcPadrao->SetActivePage(tshPadrao);
}

void TfrmPadraoGrid::FormClose(CloseAction &action)
{
    // However the screen is closed, an edit in progress goes with it: the
    // operator says so first, as when dropping it with Esc.
    const RecordList *list = listaPadrao();
    if (list && list->isEditing() && !askYesNo(*msgMensagensPadroes, QStringLiteral("Canc"))) {
        action = caNone;
        return;
    }
    action = caFree;
}

void TfrmPadraoGrid::FormDestroy()
{
    dtsPadrao->setDataSet(nullptr);
}

void TfrmPadraoGrid::dbgPadraoKeyDown(TDBGrid & /*sender*/, int &key, Qt::KeyboardModifiers shift)
{
    if (key == Qt::Key_Insert && shift == Qt::NoModifier) {
        clickCommand(RecordCommand::Incluir);
        key = 0;
    }
}

void TfrmPadraoGrid::sbtIncluirClick(QObject * /*sender*/)
{
    if (RecordList *list = listaPadrao()) {
        list->append();
        dbgPadrao->setFocus(Qt::OtherFocusReason);
    }
}

void TfrmPadraoGrid::sbtAlterarClick(QObject * /*sender*/)
{
    RecordList *list = listaPadrao();
    if (list && !list->isEmpty()) {
        list->edit();
    }
}

void TfrmPadraoGrid::sbtExcluirClick(QObject * /*sender*/)
{
    RecordList *list = listaPadrao();
    if (list && list->isActive() && !list->isEmpty() && askYesNo(*msgMensagensPadroes, QStringLiteral("Excl"))) {
        list->remove();
    }
}

void TfrmPadraoGrid::sbtProcurarClick(QObject * /*sender*/)
{
    RecordList *list = listaPadrao();
    if (list && list->isActive() && !list->isEmpty()) {
        HostDialogs::current().find(*list);
    }
}

void TfrmPadraoGrid::ProcurarProximoClick(QObject * /*sender*/)
{
    RecordList *list = listaPadrao();
    if (list && list->isActive() && !list->isEmpty()) {
        Procurar::ProcuraProximo(*list);
    }
}

void TfrmPadraoGrid::sbtVerificarClick(QObject * /*sender*/)
{
    // Listing again is each screen's own business: the base knows no server.
}

void TfrmPadraoGrid::sbtCancelarClick(QObject * /*sender*/)
{
    RecordList *list = listaPadrao();
    if (list && list->isEditing() && askYesNo(*msgMensagensPadroes, QStringLiteral("Canc"))) {
        list->cancel();
    }
}

void TfrmPadraoGrid::sbtConfirmarClick(QObject * /*sender*/)
{
    RecordList *list = listaPadrao();
    if (list && list->isEditing()) {
        list->post();
    }
}

void TfrmPadraoGrid::sbtImprimirClick(QObject * /*sender*/)
{
    HostDialogs::current().showMessage(HostDialogs::Icon::Information, Caption(),
                                       QStringLiteral("Esta tela não tem listagem."));
}

void TfrmPadraoGrid::mnuConfigImpressoraClick(QObject * /*sender*/)
{
    HostDialogs::current().showMessage(HostDialogs::Icon::Information, Caption(),
                                       QStringLiteral("Esta tela não imprime: não há impressora a configurar."));
}

void TfrmPadraoGrid::sbtAjudaClick(QObject * /*sender*/)
{
    showHelp(ScreenCode(), Caption());
}

void TfrmPadraoGrid::sbtFecharClick(QObject * /*sender*/)
{
    Close();
}
