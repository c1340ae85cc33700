#pragma once

#include "CloseAction.h"

#include <QString>
#include <Qt>

// What every host form, screen (THostForm) or filter dialog
// (TfrmFiltroPadrao), is told of its life, and its help. The handlers are
// overridden by derived forms, which call the base first; the host runs them
// inside its guard (see the two bases for when each runs).
class FormLifecycle {
public:
    virtual ~FormLifecycle() = default;

    virtual void FormCreate() {}
    virtual void FormActivate() {}
    // `action` arrives as caHide; the form may choose otherwise.
    virtual void FormClose(CloseAction & /*action*/) {}
    virtual void FormKeyDown(int & /*key*/, Qt::KeyboardModifiers /*shift*/) {}

    int HelpContext() const { return m_helpContext; }
    void SetHelpContext(int context) { m_helpContext = context; }

protected:
    // The host has no help viewer: the help command names the form and its
    // help topic.
    void showHelp(const QString &screenCode, const QString &caption) const;

private:
    int m_helpContext = 0;
};
