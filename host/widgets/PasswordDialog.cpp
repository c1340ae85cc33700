#include "PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

PasswordDialog::PasswordDialog(const QString &title, const QString &text, QWidget *parent)
    : QDialog(parent)
    , m_password(new QLineEdit(this))
{
    setObjectName(QStringLiteral("passwordDialog"));
    setWindowTitle(title);
    m_password->setObjectName(QStringLiteral("passwordEdit"));
    m_password->setEchoMode(QLineEdit::Password);

    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // An empty password is no answer: Enter waits for one, Esc leaves.
    connect(m_password, &QLineEdit::textChanged, this, [this](const QString &typed) { m_ok->setEnabled(!typed.isEmpty()); });

    auto *caption = new QLabel(text, this);
    caption->setBuddy(m_password);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_password);
    layout->addWidget(buttons);
    m_password->setFocus();
}

QString PasswordDialog::password() const
{
    return m_password->text();
}
