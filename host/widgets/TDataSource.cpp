#include "TDataSource.h"

#include "HostGuard.h"

TDataSource::TDataSource(QObject *parent)
    : QObject(parent)
{
}

void TDataSource::setDataSet(RecordList *list)
{
    if (m_dataSet == list) {
        return;
    }
    for (QMetaObject::Connection &connection : m_connections) {
        disconnect(connection);
    }
    m_dataSet = list;
    if (list) {
        m_connections[0] = connect(list, &RecordList::stateChanged, this, &TDataSource::relayState);
        m_connections[1] = connect(list, &RecordList::reset, this, &TDataSource::dataChanged);
        m_connections[2] = connect(list, &RecordList::rowInserted, this, &TDataSource::dataChanged);
        m_connections[3] = connect(list, &RecordList::rowRemoved, this, &TDataSource::dataChanged);
        m_connections[4] = connect(list, &RecordList::rowChanged, this, &TDataSource::dataChanged);
        m_connections[5] = connect(list, &RecordList::currentChanged, this, &TDataSource::currentChanged);
        // A list freed under the screen's feet leaves the controls empty
        // rather than pointing at a dead list.
        m_connections[6] = connect(list, &QObject::destroyed, this, [this] {
            emit dataSetChanged();
            emit dataChanged();
            relayState();
        });
    }
    emit dataSetChanged();
    emit dataChanged();
    emit currentChanged();
    relayState();
}

void TDataSource::setAutoEdit(bool autoEdit)
{
    if (m_autoEdit == autoEdit) {
        return;
    }
    m_autoEdit = autoEdit;
    emit autoEditChanged();
}

RecordList::State TDataSource::state() const
{
    return m_dataSet ? m_dataSet->state() : RecordList::State::Inactive;
}

void TDataSource::relayState()
{
    const RecordList::State now = state();
    if (now == m_toldState || now == RecordList::State::CalcFields) {
        return;
    }
    m_toldState = now;
    emit stateChanged();
    if (onStateChange) {
        HostGuard::run([this] { onStateChange(*this); });
    }
}
