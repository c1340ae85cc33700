#pragma once

#include "RecordList.h"

#include <QObject>
#include <QPointer>

#include <functional>

// Links data-bound controls (grids, edits, memos, labels) to a record list
// and relays the list's state and data to them.
class TDataSource final : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject *parent = nullptr);

    RecordList *dataSet() const { return m_dataSet; }
    void setDataSet(RecordList *list);
    // The list's state; Inactive when there is no list.
    RecordList::State state() const;

    // The screen's handler of the state change (e.g. dtsPadraoStateChange),
    // run after the bound controls were told. It runs inside the host guard:
    // an abort is swallowed, another failure is shown in the error box.
    std::function<void(TDataSource &sender)> onStateChange;

signals:
    void stateChanged();  // the list entered another state (also inactive)
    void dataChanged();   // the list was reloaded, closed or a value changed
    void currentChanged(); // another record became current

private:
    QPointer<RecordList> m_dataSet;
    QMetaObject::Connection m_connections[6];
};
