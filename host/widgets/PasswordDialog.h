#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

// The password question of the Qt host dialogs: a text saying whose
// password (and why it is asked again), a field that shows no character of
// what is typed, "OK" and "Cancelar". Enter confirms once something is
// typed, Esc cancels.
class PasswordDialog final : public QDialog {
    Q_OBJECT
public:
    PasswordDialog(const QString &title, const QString &text, QWidget *parent = nullptr);

    QString password() const;

private:
    QLineEdit *m_password;
    QPushButton *m_ok;
};
