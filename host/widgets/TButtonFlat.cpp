#include "TButtonFlat.h"

#include "FadedGlyph.h"

#include <QEvent>
#include <QKeyEvent>

TButtonFlat::TButtonFlat(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    // Reached by Tab, but a mouse click leaves the focus where it is: clicking
    // a command must not run the exit check of the field being typed in.
    setFocusPolicy(Qt::TabFocus);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(16, 16));
}

void TButtonFlat::SetHint(const QString &hint)
{
    m_hint = hint;
    refreshToolTip();
    // Without a picture the hint is all the operator could read on the button.
    if (icon().isNull()) {
        setText(hint);
    }
    setAccessibleName(hint);
}

void TButtonFlat::SetShortcutHint(const QKeySequence &shortcut)
{
    m_shortcut = shortcut;
    refreshToolTip();
}

void TButtonFlat::refreshToolTip()
{
    setToolTip(m_shortcut.isEmpty()
                   ? m_hint
                   : QStringLiteral("%1 (%2)").arg(m_hint, m_shortcut.toString(QKeySequence::NativeText)));
}

void TButtonFlat::SetGlyph(const QIcon &glyph)
{
    setIcon(FadedGlyph(glyph));
}

void TButtonFlat::SetTwoStateGlyph(const QPixmap &up, const QPixmap &down)
{
    QIcon glyph;
    glyph.addPixmap(up, QIcon::Normal, QIcon::Off);
    glyph.addPixmap(down, QIcon::Normal, QIcon::On);
    setCheckable(true);
    setIcon(FadedGlyph(glyph));
}

void TButtonFlat::changeEvent(QEvent *event)
{
    QToolButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        emit enabledChanged(isEnabled());
    }
}

void TButtonFlat::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        click();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}
