#pragma once

#include <QMainWindow>

class ModuleLoader;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class THostForm;

// The host client's multi-document main window: a menu entry per running
// module (by its title), the window menu (Ctrl+F4 closes the active screen,
// Ctrl+F6 goes to the next, and the open screens are listed to pick one), and
// the operator's login in the status bar, naming the branch the active screen
// works on (the operator's own while it has none) and the server it is
// connected to. Leaving (Ctrl+Q) takes one
// press; a screen that holds an edit asks first.
class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ModuleLoader &loader, QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return m_mdiArea; }
    // Shows the window where and as large as the user left it, maximised
    // the first time.
    void showAsLeft();
    QMenu *windowMenu() const { return m_windowMenu; }
    // Closes every screen and lets the freed ones go, so that no module code
    // is still referenced when the modules are unloaded.
    void closeAllScreens();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus(ModuleLoader &loader);
    // Rebuilt each time it opens, so it lists the screens open right then.
    void updateWindowMenu();
    void followActiveScreen();
    void showSession(const THostForm *screen);

    QMdiArea *m_mdiArea;
    QMenu *m_windowMenu = nullptr;
    QAction *m_closeScreen = nullptr;
    QAction *m_nextScreen = nullptr;
    QLabel *m_session;
    QMetaObject::Connection m_branchWatch;
    QMetaObject::Connection m_serverWatch;
};
