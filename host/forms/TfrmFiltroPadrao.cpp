#include "TfrmFiltroPadrao.h"

#include "Abort.h"
#include "Consiste.h"
#include "HostDialogs.h"
#include "HostGuard.h"
#include "KeyPreview.h"
#include "SavedOptions.h"
#include "TButtonFlat.h"
#include "TMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Which way an arrow goes among a criterion's choices: back, on, or none.
int arrowStep(int key)
{
    if (key == Qt::Key_Left || key == Qt::Key_Up) {
        return -1;
    }
    return key == Qt::Key_Right || key == Qt::Key_Down ? 1 : 0;
}

// A criterion's choices stand side by side, where Qt's own arrows go by
// position and Up and Down find nothing; operators go down a criterion's
// choices as often as across, so every arrow moves to the choice before or
// after, in the order they were put in their group, and chooses it.
void chooseBeside(QRadioButton *choice, int step)
{
    QList<QRadioButton *> choices;
    for (QRadioButton *radio : choice->parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly)) {
        if (radio->autoExclusive() && radio->isEnabled() && !radio->isHidden()) {
            choices << radio;
        }
    }
    const qsizetype next = choices.indexOf(choice) + step;
    if (next >= 0 && next < choices.size()) {
        choices.at(next)->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        choices.at(next)->click();
    }
}

} // namespace

TfrmFiltroPadrao::TfrmFiltroPadrao(QWidget *parent)
    : QDialog(parent)
    , msgPadrao(new TMessages(QStringLiteral("msgPadrao"), this))
{
    setObjectName(QStringLiteral("frmFiltroPadrao"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    grbFiltroPadrao = new QGroupBox(this);
    grbFiltroPadrao->setObjectName(QStringLiteral("grbFiltroPadrao"));
    layout->addWidget(grbFiltroPadrao, 1);

    panMenu = new QFrame(this);
    panMenu->setObjectName(QStringLiteral("panMenu"));
    panMenu->setFrameShape(QFrame::StyledPanel);
    m_column = new QVBoxLayout(panMenu);
    m_column->setContentsMargins(2, 4, 2, 4);
    QStyle *look = style();
    sbtConfirma = addMenuButton(QStringLiteral("sbtConfirma"), QStringLiteral("Confirmar"),
                                look->standardIcon(QStyle::SP_DialogApplyButton), &TfrmFiltroPadrao::sbtConfirmaClick);
    sbtCancel = addMenuButton(QStringLiteral("sbtCancel"), QStringLiteral("Cancelar"),
                              look->standardIcon(QStyle::SP_DialogCancelButton), &TfrmFiltroPadrao::sbtCancelClick);
    btfSaveOpc = addMenuButton(QStringLiteral("btfSaveOpc"), QStringLiteral("Salvar opções"),
                               look->standardIcon(QStyle::SP_DialogSaveButton), &TfrmFiltroPadrao::btfSaveOpcClick);
    btfLoadOpc = addMenuButton(QStringLiteral("btfLoadOpc"), QStringLiteral("Carregar opções"),
                               look->standardIcon(QStyle::SP_DialogOpenButton), &TfrmFiltroPadrao::btfLoadOpcClick);
    sbtAjuda = addMenuButton(QStringLiteral("sbtAjuda"), QStringLiteral("Ajuda"),
                             look->standardIcon(QStyle::SP_DialogHelpButton), &TfrmFiltroPadrao::sbtAjudaClick);
    m_column->addStretch(1);
    lblCodTela = new QLabel(panMenu);
    lblCodTela->setObjectName(QStringLiteral("lblCodTela"));
    m_column->addWidget(lblCodTela);
    layout->addWidget(panMenu);

    new KeyPreview(*this, [this](int &key, Qt::KeyboardModifiers shift) {
        if (!HostGuard::run([&] { FormKeyDown(key, shift); })) {
            key = 0;
        }
    });
}

TButtonFlat *TfrmFiltroPadrao::addMenuButton(const QString &objectName, const QString &hint, const QIcon &glyph,
                                             Handler handler)
{
    auto *button = new TButtonFlat(panMenu);
    button->setObjectName(objectName);
    button->SetGlyph(glyph);
    button->SetHint(hint);
    button->setIconSize(QSize(24, 24));
    connect(button, &QAbstractButton::clicked, this,
            [this, button, handler] { HostGuard::run([&] { (this->*handler)(button); }); });
    m_column->addWidget(button);
    return button;
}

void TfrmFiltroPadrao::insertMenuButton(TButtonFlat *button)
{
    button->setParent(panMenu);
    ++m_insertedButtons;
    m_column->insertWidget(m_column->indexOf(sbtCancel) + m_insertedButtons, button);
}

QString TfrmFiltroPadrao::ScreenCode() const
{
    return lblCodTela->text();
}

void TfrmFiltroPadrao::FormCreate()
{
    m_modalResult = 0;
    m_options.clear();
}

void TfrmFiltroPadrao::FormActivate()
{
    Consiste::SelectFirstControl(grbFiltroPadrao);
}

void TfrmFiltroPadrao::FormKeyDown(int &key, Qt::KeyboardModifiers shift)
{
    const Qt::KeyboardModifiers modifiers = shift & ~Qt::KeypadModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QWidget *focused = QApplication::focusWidget();
    const bool inCriteria = focused && grbFiltroPadrao->isAncestorOf(focused);
    auto *choice = inCriteria ? qobject_cast<QRadioButton *>(focused) : nullptr;
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        sbtCancel->click();
        key = 0;
    } else if ((enter && modifiers == Qt::ControlModifier) || (key == Qt::Key_F10 && modifiers == Qt::NoModifier)) {
        sbtConfirma->click();
        key = 0;
    } else if (enter && modifiers == Qt::NoModifier) {
        // A command of the button column takes Enter as its click and a memo
        // as a new line. A lookup button among the criteria is passed like a
        // field, or Enter could never get past a criterion on "Lista".
        const bool command = qobject_cast<TButtonFlat *>(focused) && !inCriteria;
        if (command || qobject_cast<QPlainTextEdit *>(focused) || qobject_cast<QTextEdit *>(focused)) {
            return;
        }
        focusNextChild();
        key = 0;
    } else if (choice && choice->autoExclusive() && arrowStep(key) != 0 && modifiers == Qt::NoModifier) {
        chooseBeside(choice, arrowStep(key));
        key = 0;
    }
}

void TfrmFiltroPadrao::sbtCancelClick(QObject * /*sender*/)
{
    setModalResult(mrCancelado);
}

void TfrmFiltroPadrao::sbtConfirmaClick(QObject * /*sender*/)
{
    setModalResult(mrConfirmado);
}

void TfrmFiltroPadrao::btfSaveOpcClick(QObject * /*sender*/)
{
    const QString name = HostDialogs::current()
                             .chooseName(QStringLiteral("Salvar opções"), SavedOptions::names(ScreenCode()), true)
                             .trimmed();
    if (name.isEmpty()) {
        return;
    }
    SavedOptions::save(ScreenCode(), name, m_options.lines());
}

void TfrmFiltroPadrao::btfLoadOpcClick(QObject * /*sender*/)
{
    const QStringList saved = SavedOptions::names(ScreenCode());
    if (saved.isEmpty()) {
        HostDialogs::current().showMessage(HostDialogs::Icon::Information, QStringLiteral("Carregar opções"),
                                           QStringLiteral("Não há opções salvas para este filtro."));
        throw Abort();
    }
    const QString name =
        HostDialogs::current().chooseName(QStringLiteral("Carregar opções"), saved, false).trimmed();
    if (name.isEmpty()) {
        throw Abort();
    }
    m_options.setLines(SavedOptions::load(ScreenCode(), name));
}

void TfrmFiltroPadrao::sbtAjudaClick(QObject * /*sender*/)
{
    showHelp(ScreenCode(), windowTitle());
}

int TfrmFiltroPadrao::ShowModal()
{
    m_modalResult = 0;
    exec();
    // The keyboard goes back to the screen the dialog was opened over, also
    // where no window manager hands the activation back.
    if (QWidget *owner = parentWidget()) {
        owner->window()->activateWindow();
    }
    if (m_modalResult == 0) {
        m_modalResult = mrCancelado;
    }
    return m_modalResult;
}

void TfrmFiltroPadrao::setModalResult(int result)
{
    if (result == 0) {
        m_modalResult = 0;
        return;
    }
    done(result);
}

void TfrmFiltroPadrao::accept()
{
    done(mrConfirmado);
}

void TfrmFiltroPadrao::reject()
{
    done(mrCancelado);
}

void TfrmFiltroPadrao::done(int result)
{
    m_modalResult = result == 0 ? mrCancelado : result;
    CloseAction action = caHide;
    if (!HostGuard::run([&] { FormClose(action); }) || action == caNone) {
        m_modalResult = 0;
        return;
    }
    if (action == caMinimize) {
        m_modalResult = 0;
        showMinimized();
        return;
    }
    QDialog::done(m_modalResult);
    if (action == caFree) {
        deleteLater();
    }
}

void TfrmFiltroPadrao::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        HostGuard::run([this] { FormActivate(); });
    }
}
