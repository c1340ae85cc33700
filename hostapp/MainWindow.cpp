#include "MainWindow.h"

#include "Corvane.h"
#include "HostGuard.h"
#include "ModuleLoader.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>

MainWindow::MainWindow(ModuleLoader &loader, QWidget *parent)
    : QMainWindow(parent)
    , m_mdiArea(new QMdiArea(this))
{
    setWindowTitle(QStringLiteral("Gestão de Eventos"));
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    createMenus(loader);
    statusBar()->addWidget(new QLabel(QStringLiteral("Operador: %1   Filial: %2 %3   Servidor: %4:%5")
                                          .arg(Corvane::Operador(), Corvane::FiliProc(),
                                               Corvane::NomeFiliProc(), Corvane::WebURL())
                                          .arg(Corvane::WebPort())));
    resize(1024, 640);
}

void MainWindow::createMenus(ModuleLoader &loader)
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&Arquivo"));
    file->addAction(QStringLiteral("&Sair"), QKeySequence::Quit, this, &QWidget::close);

    QMenu *modules = menuBar()->addMenu(QStringLiteral("&Módulos"));
    for (const auto &module : loader.modules()) {
        QAction *open = modules->addAction(module->name());
        open->setEnabled(module->state() == HostModule::State::Initialized);
        open->setToolTip(module->error());
        HostModule *target = module.get();
        connect(open, &QAction::triggered, this, [target] { HostGuard::run([target] { target->open(); }); });
    }
    if (loader.modules().empty()) {
        modules->addAction(QStringLiteral("(nenhum módulo encontrado)"))->setEnabled(false);
    }

    QMenu *window = menuBar()->addMenu(QStringLiteral("&Janela"));
    window->addAction(QStringLiteral("&Cascata"), m_mdiArea, &QMdiArea::cascadeSubWindows);
    window->addAction(QStringLiteral("&Lado a lado"), m_mdiArea, &QMdiArea::tileSubWindows);
    window->addAction(QStringLiteral("&Fechar todas"), m_mdiArea, &QMdiArea::closeAllSubWindows);
}

void MainWindow::closeAllScreens()
{
    m_mdiArea->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_mdiArea->closeAllSubWindows();
    // A screen that refuses to close keeps the host open.
    if (!m_mdiArea->subWindowList().isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
}
