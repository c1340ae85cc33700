#include "FindDialog.h"

#include "Field.h"
#include "RecordList.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FindDialog::FindDialog(const RecordList &list, QWidget *parent)
    : QDialog(parent)
    , m_fields(new QComboBox(this))
    , m_text(new QLineEdit(this))
{
    setObjectName(QStringLiteral("findDialog"));
    setWindowTitle(QStringLiteral("Procurar"));
    m_fields->setObjectName(QStringLiteral("findField"));
    m_text->setObjectName(QStringLiteral("findText"));
    for (int index = 0; index < list.fieldCount(); ++index) {
        const Field &field = list.field(index);
        if (field.isVisible()) {
            m_fields->addItem(field.displayLabel(), index);
        }
    }

    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Campo:"), m_fields);
    form->addRow(QStringLiteral("&Texto:"), m_text);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_text->setFocus();
}

int FindDialog::fieldIndex() const
{
    return m_fields->currentIndex() < 0 ? -1 : m_fields->currentData().toInt();
}

QString FindDialog::text() const
{
    return m_text->text();
}
