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

    // With auto-edit, typing into a bound edit or memo while the list is
    // browsed puts the list into edit (insert when it has no record) first;
    // without it, bound controls are read-only unless the list is editing.
    bool autoEdit() const { return m_autoEdit; }
    void setAutoEdit(bool autoEdit);

    // The screen's handler of the state change (e.g. dtsPadraoStateChange),
    // run after the bound controls were told. It runs inside the host guard:
    // an abort is swallowed, another failure is shown in the error box.
    std::function<void(TDataSource &sender)> onStateChange;

signals:
    void stateChanged();  // the list entered another state (also inactive)
    void dataChanged();   // the list was reloaded, closed or a value changed
    void currentChanged(); // another record became current
    void dataSetChanged(); // another list (or none) was bound
    void autoEditChanged();

private:
    void relayState();

    QPointer<RecordList> m_dataSet;
    QMetaObject::Connection m_connections[7];
    // The state last told to the controls: the list's brief calculating
    // state is not a state change for them.
    RecordList::State m_toldState = RecordList::State::Inactive;
    bool m_autoEdit = false;
};
