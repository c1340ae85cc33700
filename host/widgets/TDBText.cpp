#include "TDBText.h"

#include "FieldLink.h"

TDBText::TDBText(QWidget *parent)
    : QLabel(parent)
    , m_link(new FieldLink(this))
{
    connect(m_link, &FieldLink::changed, this, &TDBText::refresh);
}

TDataSource *TDBText::dataSource() const
{
    return m_link->dataSource();
}

void TDBText::setDataSource(TDataSource *source)
{
    m_link->setDataSource(source);
}

QString TDBText::dataField() const
{
    return m_link->fieldName();
}

void TDBText::setDataField(const QString &fieldName)
{
    m_link->setFieldName(fieldName);
}

void TDBText::refresh()
{
    setText(m_link->displayText());
}
