#include "NameDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NameDialog::NameDialog(const QString &title, const QStringList &existing, bool mayCreate, QWidget *parent)
    : QDialog(parent)
    , m_names(new QComboBox(this))
{
    setObjectName(QStringLiteral("nameDialog"));
    setWindowTitle(title);
    m_names->setObjectName(QStringLiteral("nameCombo"));
    m_names->setEditable(mayCreate);
    m_names->addItems(existing);
    if (mayCreate) {
        m_names->setInsertPolicy(QComboBox::NoInsert);
        m_names->setCurrentIndex(-1);
        m_names->lineEdit()->clear();
        connect(m_names->lineEdit(), &QLineEdit::returnPressed, this, &QDialog::accept);
    }

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *caption = new QLabel(QStringLiteral("&Nome:"), this);
    caption->setBuddy(m_names);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_names);
    layout->addWidget(buttons);
    m_names->setFocus();
}

QString NameDialog::name() const
{
    return m_names->currentText().trimmed();
}
