#include "FieldLink.h"

#include "Field.h"
#include "HostGuard.h"
#include "RecordList.h"
#include "TDataSource.h"

FieldLink::FieldLink(QObject *parent)
    : QObject(parent)
{
}

TDataSource *FieldLink::dataSource() const
{
    return m_source;
}

void FieldLink::setDataSource(TDataSource *source)
{
    if (m_source == source) {
        return;
    }
    if (m_source) {
        disconnect(m_source, nullptr, this, nullptr);
    }
    m_source = source;
    if (source) {
        connect(source, &TDataSource::stateChanged, this, &FieldLink::changed);
        connect(source, &TDataSource::dataChanged, this, &FieldLink::changed);
        connect(source, &TDataSource::currentChanged, this, &FieldLink::changed);
        connect(source, &TDataSource::dataSetChanged, this, &FieldLink::changed);
        connect(source, &TDataSource::autoEditChanged, this, &FieldLink::changed);
        connect(source, &QObject::destroyed, this, &FieldLink::changed);
    }
    emit changed();
}

void FieldLink::setFieldName(const QString &fieldName)
{
    if (m_fieldName == fieldName) {
        return;
    }
    m_fieldName = fieldName;
    emit changed();
}

Field *FieldLink::field() const
{
    RecordList *list = m_source ? m_source->dataSet() : nullptr;
    if (!list || !list->isActive() || (list->recNo() < 0 && !list->isEditing())) {
        return nullptr;
    }
    return list->findField(m_fieldName);
}

QString FieldLink::displayText() const
{
    const Field *shown = field();
    return shown ? shown->displayText() : QString();
}

QString FieldLink::editText() const
{
    const Field *shown = field();
    return shown ? shown->text() : QString();
}

QString FieldLink::editMask() const
{
    RecordList *list = m_source ? m_source->dataSet() : nullptr;
    const Field *declared = list ? list->findField(m_fieldName) : nullptr;
    return declared ? declared->editMask() : QString();
}

int FieldLink::maxLength() const
{
    RecordList *list = m_source ? m_source->dataSet() : nullptr;
    const Field *declared = list ? list->findField(m_fieldName) : nullptr;
    return declared && declared->type() == FieldType::Text ? declared->size() : 0;
}

bool FieldLink::canModify() const
{
    RecordList *list = m_source ? m_source->dataSet() : nullptr;
    const Field *declared = list ? list->findField(m_fieldName) : nullptr;
    if (!declared || declared->isReadOnly() || declared->isCalculated()) {
        return false;
    }
    return list->isEditing() || (m_source->autoEdit() && list->state() == RecordList::State::Browse);
}

bool FieldLink::write(const QString &text)
{
    if (!canModify()) {
        return false;
    }
    m_writing = true;
    const bool written = HostGuard::run([this, &text] {
        RecordList &list = *m_source->dataSet();
        // An empty list starts a new record here.
        list.edit();
        list.fieldByName(m_fieldName).setText(text);
    });
    m_writing = false;
    return written;
}
