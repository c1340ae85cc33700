#pragma once

#include <QKeySequence>
#include <QToolButton>

// The host's flat tool-bar button: no frame until the mouse is over it, the
// hint shown as its tooltip, followed by the key that does the same command
// when there is one ("Filtrar (Ctrl+L)"). Tab reaches it and Enter or the space bar click
// it, so a screen can be worked without a mouse; a mouse click leaves the
// focus in the control that had it.
// A click on a disabled button does nothing (so does click() from code), and
// a disabled button's picture is faint and grey (FadedGlyph), whatever the
// picture given.
class TButtonFlat final : public QToolButton {
    Q_OBJECT
public:
    explicit TButtonFlat(QWidget *parent = nullptr);

    QString Hint() const { return m_hint; }
    void SetHint(const QString &hint);
    // The key of the command the button does, named in its tooltip.
    void SetShortcutHint(const QKeySequence &shortcut);

    // A single picture for the button.
    void SetGlyph(const QIcon &glyph);
    // Two pictures: the button becomes a toggle that shows `up` while it is
    // released and `down` while it stays pressed.
    void SetTwoStateGlyph(const QPixmap &up, const QPixmap &down);

signals:
    // The button became usable or unusable (also through its parent), so that
    // a menu item doing the same command can follow it.
    void enabledChanged(bool enabled);

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void refreshToolTip();

    QString m_hint;
    QKeySequence m_shortcut;
};
