#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QStringList>

class Field;
class RecordList;

// A read-only table view of a record list for grids: one row per record, one
// column per chosen field. It follows the list's signals, so rows appear and
// go as records are inserted, cancelled, deleted, loaded or closed; an
// inactive list shows no rows.
//
// Roles: DisplayRole is the field's display text, EditRole its edit text,
// Qt::UserRole the raw value, TextAlignmentRole right-aligned for numbers;
// the horizontal header shows the display label. A get-text hook that fails
// while a cell is painted gives an empty cell (and a warning in the log):
// nothing is thrown into Qt.
class RecordListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    RecordListModel(RecordList *list, QObject *parent = nullptr); // list not owned

    RecordList *recordList() const { return m_list; }

    // The fields shown, by name, in order; empty = the fields visible at the
    // time (re-read whenever the list is loaded or closed). Names the list
    // does not have are skipped.
    void setColumns(const QStringList &fieldNames);
    Field *fieldAt(int column) const;               // nullptr when out of range
    int columnOfField(const QString &name) const;   // -1 when not shown

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void resolveColumns();
    void finishReset();
    void onRowChanged(int row);

    QPointer<RecordList> m_list;
    QStringList m_requested;
    QList<int> m_fieldIndexes; // list field index of each column
};
