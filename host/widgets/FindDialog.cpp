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
            m_fields->addItem(field.displayLabel(), field.name());
        }
    }
    if (const auto last = FindInList::Last(list)) {
        m_fields->setCurrentIndex(qMax(m_fields->findData(last->field), 0));
        m_text->setText(last->text);
        m_text->selectAll();
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

std::optional<FindInList::Criterion> FindDialog::criterion() const
{
    if (m_fields->currentIndex() < 0) {
        return std::nullopt;
    }
    return FindInList::Criterion{m_fields->currentData().toString(), m_text->text()};
}
