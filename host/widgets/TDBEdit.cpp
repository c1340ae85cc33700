#include "TDBEdit.h"

#include "FieldLink.h"

namespace {
constexpr int unlimitedLength = 32767;
}

TDBEdit::TDBEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::changed, this, &TDBEdit::refresh);
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::writeBack);
    refresh();
}

TDataSource *TDBEdit::dataSource() const
{
    return m_link->dataSource();
}

void TDBEdit::setDataSource(TDataSource *source)
{
    m_link->setDataSource(source);
}

QString TDBEdit::dataField() const
{
    return m_link->fieldName();
}

void TDBEdit::setDataField(const QString &fieldName)
{
    m_link->setFieldName(fieldName);
}

void TDBEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    refresh();
}

void TDBEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    refresh();
}

void TDBEdit::refresh()
{
    setReadOnly(!m_link->canModify());
    if (m_link->isWriting()) {
        return;
    }
    const QString mask = m_link->editMask();
    if (inputMask() != mask) {
        setInputMask(mask);
    }
    const int length = m_link->maxLength();
    setMaxLength(length > 0 ? length : unlimitedLength);
    // While the operator works in the edit it offers the raw edit text;
    // otherwise the formatted text, as a grid would show it.
    const bool editing = hasFocus() && m_link->canModify();
    const QString shown = editing ? m_link->editText() : m_link->displayText();
    if (text() != shown) {
        setText(shown);
    }
}

void TDBEdit::writeBack(const QString &text)
{
    if (!m_link->write(text)) {
        refresh();
        return;
    }
    setReadOnly(!m_link->canModify());
}
