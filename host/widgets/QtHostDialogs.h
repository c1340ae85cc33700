#pragma once

#include "HostDialogs.h"

class QWidget;

// The host's dialogs as real Qt windows, modal over the active window, all
// usable from the keyboard (Enter confirms, Esc cancels):
// - showMessage: a message box with "OK"; an empty title becomes the icon's
//   Portuguese title ("Informação", "Atenção", "Erro", "Confirmação");
//   showDetailedMessage adds the box's details button (Tab, then Space),
//   OK staying the default;
// - ask: a message box with the given buttons, the first one default; Esc
//   answers the last one (the "no"/"back" choice of the host's questions);
// - pickOne/pickMany: the lookup window (see PickDialog) over the list's
//   visible fields; pickMany returns the ticked keys in the list's order;
// - find: the find window, then the first record whose display text in the
//   chosen field contains the text (case-insensitive) becomes current;
//   "Registro não encontrado." when none does;
// - chooseName: the saved-options chooser;
// - askPassword: the password window (see PasswordDialog).
// The host client installs one (HostDialogs::install(&QtHostDialogs::instance())).
// Failures of the list's own events while moving to a pick go on to the caller.
class QtHostDialogs final : public HostDialogs {
public:
    QtHostDialogs() = default;

    // The one instance a client installs; made on first use.
    static QtHostDialogs &instance();

    void showMessage(Icon icon, const QString &title, const QString &text) override;
    void showDetailedMessage(Icon icon, const QString &title, const QString &text, const QString &details) override;
    int ask(Icon icon, const QString &title, const QString &text, const QStringList &buttons) override;
    bool pickOne(RecordList &list, const QString &keyField, const QString &title) override;
    bool pickMany(RecordList &list, const QString &keyField, const QString &title, QStringList &keys) override;
    bool find(RecordList &list) override;
    QString chooseName(const QString &title, const QStringList &existing, bool mayCreate) override;
    QString askPassword(const QString &title, const QString &text) override;

private:
    static QWidget *window();
};
