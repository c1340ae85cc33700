#include "TDBMemo.h"

#include "FieldLink.h"

TDBMemo::TDBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::changed, this, &TDBMemo::refresh);
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::writeBack);
    refresh();
}

TDataSource *TDBMemo::dataSource() const
{
    return m_link->dataSource();
}

void TDBMemo::setDataSource(TDataSource *source)
{
    m_link->setDataSource(source);
}

QString TDBMemo::dataField() const
{
    return m_link->fieldName();
}

void TDBMemo::setDataField(const QString &fieldName)
{
    m_link->setFieldName(fieldName);
}

void TDBMemo::refresh()
{
    setReadOnly(!m_link->canModify());
    if (m_link->isWriting()) {
        return;
    }
    const QString shown = m_link->editText();
    if (toPlainText() != shown) {
        m_refreshing = true;
        setPlainText(shown);
        m_refreshing = false;
    }
}

void TDBMemo::writeBack()
{
    // Only the operator's typing goes into the field, not the memo showing
    // another record.
    if (m_refreshing) {
        return;
    }
    if (!m_link->write(toPlainText())) {
        refresh();
        return;
    }
    setReadOnly(!m_link->canModify());
}
