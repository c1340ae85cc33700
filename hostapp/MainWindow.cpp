#include "MainWindow.h"

#include "Corvane.h"
#include "HostGuard.h"
#include "ModuleLoader.h"
#include "Showavi.h"
#include "THostForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>

namespace {
constexpr const char *geometryKey = "janelaPrincipal/geometria";
} // namespace

MainWindow::MainWindow(ModuleLoader &loader, QWidget *parent)
    : QMainWindow(parent)
    , m_mdiArea(new QMdiArea(this))
    , m_session(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Gestão de Eventos"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    createMenus(loader);
    m_session->setObjectName(QStringLiteral("lblSessao"));
    statusBar()->addWidget(m_session);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &MainWindow::followActiveScreen);
    showSession(nullptr);
    resize(1024, 640);
}

void MainWindow::createMenus(ModuleLoader &loader)
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    // Ctrl+Q on every platform, not only where the toolkit's theme has it.
    file->addAction(QStringLiteral("&Sair"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);

    // Alt+M belongs to the screens' "Manutenção": one window, one letter per menu.
    QMenu *modules = menuBar()->addMenu(QStringLiteral("Mó&dulos"));
    for (const auto &module : loader.modules()) {
        QAction *open = modules->addAction(module->title());
        open->setEnabled(module->state() == HostModule::State::Initialized);
        open->setToolTip(module->error());
        HostModule *target = module.get();
        connect(open, &QAction::triggered, this, [target] { HostGuard::run([target] { target->open(); }); });
    }
    if (loader.modules().empty()) {
        modules->addAction(QStringLiteral("(nenhum módulo encontrado)"))->setEnabled(false);
    }

    m_windowMenu = menuBar()->addMenu(QStringLiteral("&Janela"));
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::updateWindowMenu);
    // The keys of every multi-document program: Ctrl+F4 closes the active
    // screen, Ctrl+F6 goes on to the next one. Ctrl+F4 is each screen's own
    // key (THostForm), so the item only names it.
    m_closeScreen = new QAction(QStringLiteral("&Fechar\tCtrl+F4"), this);
    connect(m_closeScreen, &QAction::triggered, m_mdiArea, &QMdiArea::closeActiveSubWindow);
    m_nextScreen = new QAction(QStringLiteral("&Próxima"), this);
    m_nextScreen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F6));
    connect(m_nextScreen, &QAction::triggered, m_mdiArea, &QMdiArea::activateNextSubWindow);
    // Out of the menu too, the shortcut works wherever the focus is.
    addAction(m_nextScreen);
    updateWindowMenu();
}

void MainWindow::followActiveScreen()
{
    disconnect(m_branchWatch);
    disconnect(m_serverWatch);
    // The current window, not the signal's: the area reports none while the
    // application is in the background, and the screen has not changed.
    QMdiSubWindow *window = m_mdiArea->currentSubWindow();
    const THostForm *screen = window ? qobject_cast<THostForm *>(window->widget()) : nullptr;
    if (screen) {
        m_branchWatch = connect(screen, &THostForm::branchChanged, this, [this, screen] { showSession(screen); });
        m_serverWatch = connect(screen, &THostForm::serverChanged, this, [this, screen] { showSession(screen); });
    }
    showSession(screen);
}

void MainWindow::showSession(const THostForm *screen)
{
    const bool screenBranch = screen && !screen->BranchCode().isEmpty();
    QString text = QStringLiteral("Operador: %1   Filial: %2 %3")
                       .arg(Corvane::Operador(), screenBranch ? screen->BranchCode() : Corvane::FiliProc(),
                            screenBranch ? screen->BranchName() : Corvane::NomeFiliProc());
    // The server is the screen's own connection's: with several servers
    // each screen may be on another, and none may be reachable right now.
    if (screen) {
        text += screen->Server().isEmpty() ? QStringLiteral("   Sem servidor")
                                           : QStringLiteral("   Servidor: %1").arg(screen->Server());
    }
    m_session->setText(text);
}

void MainWindow::updateWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(m_closeScreen);
    m_windowMenu->addAction(QStringLiteral("Fechar &todas"), m_mdiArea, &QMdiArea::closeAllSubWindows);
    m_windowMenu->addAction(m_nextScreen);
    m_windowMenu->addSeparator();
    m_windowMenu->addAction(QStringLiteral("&Cascata"), m_mdiArea, &QMdiArea::cascadeSubWindows);
    m_windowMenu->addAction(QStringLiteral("&Lado a lado"), m_mdiArea, &QMdiArea::tileSubWindows);
    const QList<QMdiSubWindow *> screens = m_mdiArea->subWindowList();
    if (!screens.isEmpty()) {
        m_windowMenu->addSeparator();
    }
    for (qsizetype i = 0; i < screens.size(); ++i) {
        QMdiSubWindow *screen = screens.at(i);
        // The first nine are reached by their digit.
        const QString caption = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(screen->windowTitle())
                                       : screen->windowTitle();
        QAction *item = m_windowMenu->addAction(caption, m_mdiArea, [this, screen] {
            m_mdiArea->setActiveSubWindow(screen);
        });
        item->setCheckable(true);
        item->setChecked(screen == m_mdiArea->activeSubWindow());
    }
}

void MainWindow::closeAllScreens()
{
    m_mdiArea->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A close asked by the window system while a server call waits (the
    // busy indicator lets it through) waits for the call to end.
    if (Showavi::IsActive()) {
        event->ignore();
        return;
    }
    // Each screen holding an edit asks before it lets it go; one that the
    // operator keeps open keeps the host open.
    m_mdiArea->closeAllSubWindows();
    if (!m_mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    QSettings().setValue(QLatin1String(geometryKey), saveGeometry());
    event->accept();
}

void MainWindow::showAsLeft()
{
    if (!restoreGeometry(QSettings().value(QLatin1String(geometryKey)).toByteArray())) {
        // Already as large as the screen before the window manager maximises
        // it, so a screen opened right away has the whole area to fit into.
        setGeometry(screen()->availableGeometry());
        showMaximized();
        return;
    }
    show();
}
