#pragma once

#include <QMainWindow>

class ModuleLoader;
class QMdiArea;

// The host client's multi-document main window: a menu entry per running
// module, the window menu, and the operator's login in the status bar.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ModuleLoader &loader, QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return m_mdiArea; }
    // Closes every screen and lets the freed ones go, so that no module code
    // is still referenced when the modules are unloaded.
    void closeAllScreens();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus(ModuleLoader &loader);

    QMdiArea *m_mdiArea;
};
