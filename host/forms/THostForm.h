#pragma once

#include "CloseAction.h"
#include "CreateForm.h"
#include "FormLifecycle.h"

#include <QWidget>

class QMdiSubWindow;

// The base of the host's screens. A screen is built with CreateForm<T>(),
// which runs FormCreate; it is shown in the client's document area through
// HostMdi::ShowChild. Its life is told through virtual handlers that derived
// screens override, calling the base first:
//   FormCreate    once, right after construction;
//   FormActivate  each time its window becomes the active one in the area;
//   FormKeyDown   each key pressed anywhere in the screen, before the
//                 focused control (set the key to 0 to consume it);
//   FormClose     when it is asked to close (close box, Close(), Ctrl+F4,
//                 closing all windows): the handler decides the CloseAction;
//   FormDestroy   once, before a screen closed with caFree is destroyed.
// The host runs these handlers inside its guard: an Abort stops a handler
// silently, another failure is shown in the error box. A FormClose that
// fails keeps the screen open; a FormKeyDown that fails consumes its key.
// A screen that closes or hides leaves its layout saved for the operator
// (ScreenLayout). With caHide the window is only hidden and ShowChild shows it again as it
// was; caMinimize minimizes it instead of closing. With caFree its window
// leaves the document area at once (the area no longer lists it) and is
// destroyed once the close is over. A screen destroyed in any other way than
// by caFree (its parent going away) gets no FormDestroy.
//
// A screen that works on one branch says which (SetBranch), and one that
// talks to an application server says which (SetServer); the host names
// both in its status bar while the screen is the active one.
class THostForm : public QWidget, public FormLifecycle {
    Q_OBJECT
public:
    explicit THostForm(QWidget *parent = nullptr);

    virtual void FormDestroy() {}

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString &caption) { setWindowTitle(caption); }
    // The code that names the screen to the operator and to the help, e.g.
    // "CXL04100".
    virtual QString ScreenCode() const { return m_screenCode; }
    virtual void SetScreenCode(const QString &code) { m_screenCode = code; }

    // The document-area window holding the screen; nullptr when it is shown
    // on its own or not yet shown.
    QMdiSubWindow *subWindow() const;
    // Closes the screen as its close box does; true when it closed.
    bool Close();

    // The branch whose data the screen shows: code and name, both empty
    // until the screen has taken one.
    QString BranchCode() const { return m_branchCode; }
    QString BranchName() const { return m_branchName; }
    void SetBranch(const QString &code, const QString &name);

    // The "host:port" of the application server the screen is connected to;
    // empty while it has none.
    QString Server() const { return m_server; }
    void SetServer(const QString &address);

signals:
    void branchChanged();
    void serverChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void destroyForm(QWidget &window);

    QString m_screenCode;
    QString m_branchCode;
    QString m_branchName;
    QString m_server;
    bool m_destroyed = false;
};
