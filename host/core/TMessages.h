#pragma once

#include <QObject>
#include <QStringList>

// A screen's message table: lines "KEY|text" kept in their stored order
// (each screen owns one, `msgPadrao`, and the base screens a second one with
// the host's standard texts, `msgMensagensPadroes`). A key is matched
// exactly (case counts); the text is everything after the first bar, so a
// text may itself contain bars.
class TMessages final : public QObject {
    Q_OBJECT
public:
    // What kind of box a question is shown in; it decides the icon and title.
    enum class DialogKind { Warning, Error, Information, Confirmation };
    Q_ENUM(DialogKind)

    explicit TMessages(const QString &name = QString(), QObject *parent = nullptr);

    void setLines(const QStringList &lines) { m_lines = lines; }
    QStringList lines() const { return m_lines; }

    // The text of the first line with exactly this key; empty when no line
    // has it (a missing text shows as an empty message, it never fails).
    QString Msg(const QString &key) const;

    // Asks the text of `key` through HostDialogs::ask with one button per
    // entry of `buttonKeys`, captioned by that key's text. Returns 10 for the
    // first button, 11 for the second and so on, and 0 when the box was
    // closed without a choice. `helpContext` names the help topic of the
    // question; the host has no help viewer, so it is not shown. Throws
    // std::logic_error when no host dialogs are installed.
    int ShowMsgAlert(const QString &key, DialogKind kind, const QStringList &buttonKeys,
                     int helpContext) const;

    // The lines of the host's standard table (confirm delete, cancel the
    // changes, ...), for the base screens' `msgMensagensPadroes`.
    static QStringList padroes();

private:
    QStringList m_lines;
};
