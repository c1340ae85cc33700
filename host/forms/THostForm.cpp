#include "THostForm.h"

#include "HostGuard.h"
#include "KeyPreview.h"
#include "ScreenLayout.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

THostForm::THostForm(QWidget *parent)
    : QWidget(parent)
{
    new KeyPreview(*this, [this](int &key, Qt::KeyboardModifiers shift) {
        // The document window's own Ctrl+F4 does not reach it on every
        // window system; where it does, this key never arrives here.
        if (key == Qt::Key_F4 && (shift & ~Qt::KeypadModifier) == Qt::ControlModifier) {
            key = 0;
            Close();
            return;
        }
        if (!HostGuard::run([&] { FormKeyDown(key, shift); })) {
            key = 0;
        }
    });
}

QMdiSubWindow *THostForm::subWindow() const
{
    return qobject_cast<QMdiSubWindow *>(parentWidget());
}

void THostForm::SetBranch(const QString &code, const QString &name)
{
    if (code == m_branchCode && name == m_branchName) {
        return;
    }
    m_branchCode = code;
    m_branchName = name;
    emit branchChanged();
}

void THostForm::SetServer(const QString &address)
{
    if (address == m_server) {
        return;
    }
    m_server = address;
    emit serverChanged();
}

bool THostForm::Close()
{
    if (QMdiSubWindow *window = subWindow()) {
        return window->close();
    }
    return close();
}

void THostForm::closeEvent(QCloseEvent *event)
{
    CloseAction action = caHide;
    if (!HostGuard::run([&] { FormClose(action); })) {
        action = caNone;
    }
    QWidget &window = subWindow() ? static_cast<QWidget &>(*subWindow()) : *this;
    if (action == caHide || action == caFree) {
        ScreenLayout::Save(*this);
    }
    switch (action) {
    case caNone:
        event->ignore();
        return;
    case caMinimize:
        event->ignore();
        window.showMinimized();
        return;
    case caHide:
        event->accept();
        window.hide();
        return;
    case caFree:
        event->accept();
        // The document area forgets a window that is deleted on close right
        // away; one only deleted later would still count as open, and the
        // host, quitting, would stay for a second Ctrl+Q.
        window.setAttribute(Qt::WA_DeleteOnClose);
        window.hide();
        destroyForm(window);
        return;
    }
}

void THostForm::destroyForm(QWidget &window)
{
    if (m_destroyed) {
        return;
    }
    m_destroyed = true;
    HostGuard::run([this] { FormDestroy(); });
    // The window may still be inside its own close; it goes once that is over.
    window.deleteLater();
}
