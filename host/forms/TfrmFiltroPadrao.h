#pragma once

#include "CloseAction.h"
#include "CreateForm.h"
#include "FormLifecycle.h"
#include "TOptionsList.h"

#include <QDialog>

class QFrame;
class QGroupBox;
class QLabel;
class QVBoxLayout;
class TButtonFlat;
class TMessages;

// The base of the host's filter dialogs, shown modally over a screen. The
// criteria go into the group box `grbFiltroPadrao`; the button column
// `panMenu` holds confirm `sbtConfirma`, cancel `sbtCancel`, save and load
// options `btfSaveOpc`/`btfLoadOpc` and help `sbtAjuda`, with the screen code
// `lblCodTela` below them.
//
// Modal result (our values, not the toolkit's): 1 when confirmed, 2 when
// cancelled or closed any other way (Esc, the close box). Setting a modal
// result other than 0 closes the dialog.
//
// Keys (FormKeyDown, seen before the focused control):
//   Esc               clicks `sbtCancel`;
//   Ctrl+Enter, F10   click `sbtConfirma`;
//   Enter             moves the focus to the next control, as Tab does; a
//                     lookup button among the criteria included (Space, or a
//                     derived dialog's F9, opens it); a command of the button
//                     column is clicked instead;
//   arrows            on a criterion's choice (a radio in `grbFiltroPadrao`):
//                     Left and Up choose the one before, Right and Down the
//                     one after, in the order they were put in their group;
//                     at either end nothing changes.
// A click on a disabled button does nothing, from the keyboard as well.
//
// Handlers run inside the host guard: an Abort stops one silently, another
// failure is shown in the error box. A FormClose that fails, or that sets
// caNone, keeps the dialog open; caFree destroys it once its modal showing
// is over (its modal result can still be read right after ShowModal).
class TfrmFiltroPadrao : public QDialog, public FormLifecycle {
    Q_OBJECT
public:
    static constexpr int mrConfirmado = 1;
    static constexpr int mrCancelado = 2;

    explicit TfrmFiltroPadrao(QWidget *parent = nullptr);

    // Creation step, run by CreateForm<T>(): a fresh dialog with no result
    // and an empty options list.
    void FormCreate() override;
    // Each time the dialog is shown: the focus goes to the first criterion.
    void FormActivate() override;
    // FormClose (FormLifecycle) runs on every way of closing.
    void FormKeyDown(int &key, Qt::KeyboardModifiers shift) override;
    virtual void sbtCancelClick(QObject *sender);   // modal result 2
    virtual void sbtConfirmaClick(QObject *sender); // modal result 1
    // Asks the operator a name (those saved so far are offered, a new one may
    // be typed) and saves the whole options list under the screen code and
    // that name. A cancelled choice saves nothing.
    virtual void btfSaveOpcClick(QObject *sender);
    // Asks for one of the saved names and replaces the options list with that
    // set. A cancelled choice, or no set saved (the operator is told so),
    // changes nothing and abandons (Abort), so a derived dialog reads the
    // list back only after a set was really loaded. Throws std::runtime_error
    // for a name that was never saved.
    virtual void btfLoadOpcClick(QObject *sender);
    virtual void sbtAjudaClick(QObject *sender);

    // Shows the dialog modally and returns its modal result (1 or 2).
    int ShowModal();
    int ModalResult() const { return m_modalResult; }
    void setModalResult(int result);

    TOptionsList &options() { return m_options; }
    QString ScreenCode() const;

    QGroupBox *grbFiltroPadrao;
    QFrame *panMenu;
    TButtonFlat *sbtConfirma;
    TButtonFlat *sbtCancel;
    TButtonFlat *btfSaveOpc;
    TButtonFlat *btfLoadOpc;
    TButtonFlat *sbtAjuda;
    QLabel *lblCodTela;
    TMessages *msgPadrao;

    void done(int result) override;
    void accept() override; // confirms: modal result 1
    void reject() override; // Esc or close box: modal result 2

protected:
    // Puts a dialog's own button into the column, after `sbtCancel`.
    void insertMenuButton(TButtonFlat *button);
    void showEvent(QShowEvent *event) override;

private:
    using Handler = void (TfrmFiltroPadrao::*)(QObject *sender);
    TButtonFlat *addMenuButton(const QString &objectName, const QString &hint, const QIcon &glyph,
                               Handler handler);

    QVBoxLayout *m_column;
    int m_insertedButtons = 0;
    int m_modalResult = 0;
    TOptionsList m_options;
};
