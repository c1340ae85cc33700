#pragma once

#include "Field.h"
#include "PacketColumns.h"

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// A client-side list of records loaded whole from a data packet: typed fields,
// a current record, edit/insert/post/cancel/delete with before/after events,
// and a log of local changes that is handed to the server as a delta.
//
// Events are hooks that may throw (the host's silent abort or any other
// failure). A before-event that throws leaves the list exactly as it was and
// the exception goes on to the caller; an after-event that throws finds the
// operation already done.
//
// Order of events:
//   edit:   beforeEdit, state Edit, afterEdit
//   insert: beforeInsert, beforeScroll, new record, onNewRecord, state Insert,
//           afterInsert, afterScroll
//   post:   beforePost, record stored and logged, calcFields, state Browse,
//           afterPost
//   cancel: beforeCancel, edit buffer dropped, state Browse, afterCancel
//   remove: beforeDelete, record removed and logged, afterDelete, afterScroll
//   moving: a pending edit or insert is posted first; beforeScroll, move,
//           afterScroll (only when the current record really changes)
//   open:   beforeOpen, data loaded, calcFields per record, state Browse,
//           afterOpen, afterScroll (when there is a first record)
//   close:  beforeClose, data dropped, state Inactive, afterClose
//
// Choices the comments above leave open:
// - The CalcFields state is transient: it is never signalled by stateChanged,
//   and in it only calculated fields may be written. Calculated values are
//   kept per record until its next calculation (load, post, insert).
// - onNewRecord runs before the state turns Insert but may already assign the
//   new record's fields; if it (or the calculation) throws, the new record is
//   dropped again and the previous record is current.
// - A packet value that cannot take its field's type, or a calculation that
//   throws, while a packet loads leaves the list closed.
// - loadPacket and createDataSet on an open list close it first (with the
//   close events); close drops a pending edit without cancel events.
// - edit() on an empty list starts a new record (insert); remove() while
//   inserting cancels the insert; remove() while editing deletes the record
//   as it was before the edit.
// - Navigation and editing on an inactive list, moveTo outside the list and
//   remove() on an empty list throw std::runtime_error; post() and cancel()
//   outside edit/insert do nothing.
// - A required field that is empty (or an empty text) makes post() throw
//   after beforePost, leaving the record in edit.
// - Texts longer than their field's size are kept as they are: cutting them
//   would silently lose what the operator or server gave; the server refuses
//   what its columns cannot hold.
class RecordList : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert, CalcFields };
    Q_ENUM(State)

    using Event = std::function<void(RecordList &list)>;

    explicit RecordList(const QString &name, QObject *parent = nullptr);
    ~RecordList() override;

    QString name() const { return objectName(); }

    // Field definitions. Fields declared before a packet is loaded keep their
    // labels, formats and hooks across loads ("persistent" fields); a packet
    // loaded into a list with no declared fields creates its fields from the
    // packet. Declaring fields is refused (std::logic_error) while active.
    Field &addField(const QString &name, FieldType type, int size = 0);
    Field &addCalculatedField(const QString &name, FieldType type, int size = 0);
    Field *findField(const QString &name) const;
    Field &fieldByName(const QString &name) const; // throws std::runtime_error naming the field
    int fieldCount() const;
    Field &field(int index) const;
    QList<FieldDef> dataFieldDefs() const; // the non-calculated fields, in order

    // Opening and closing. loadPacket replaces the data whole (a packet field
    // missing from the declared fields is ignored; a declared data field
    // missing from the packet stays empty), clears the change log and makes
    // the first record current.
    void loadPacket(const DataPacket &packet);
    void loadPacket(PacketColumns &&packet); // takes the columns over
    void createDataSet(); // an empty, open list from the declared fields
    void close();
    DataPacket packet() const; // the current data fields and records

    bool isActive() const;
    State state() const;
    bool isEditing() const;

    // Navigation. recNo is the 0-based row of the current record, -1 if none.
    int recordCount() const;
    bool isEmpty() const { return recordCount() == 0; }
    int recNo() const;
    bool bof() const;
    bool eof() const;
    void first();
    void last();
    void next();
    void prior();
    void moveTo(int row); // throws std::runtime_error outside 0..recordCount()-1

    // The order the records stand in: by one field, ascending or descending
    // (as SortKey compares: texts by what is shown, numbers and dates by
    // value), records of equal value keeping the list's own order. An empty
    // name is the list's own order: the order loaded, records added since at
    // the end. The order outlives loads: a packet is taken in it. Setting it
    // keeps the current record current (no scroll events) and comes as
    // aboutToReset/reset; refused while editing (std::runtime_error), as it
    // would move the record under the edit. A field the list lacks orders
    // nothing until a load brings it.
    void setOrder(const QString &fieldName, Qt::SortOrder direction = Qt::AscendingOrder);
    QString orderField() const;
    Qt::SortOrder orderDirection() const;

    // Editing. Each throws std::runtime_error when the list is inactive.
    // A write to a field outside edit/insert throws "Lista <name> não está em
    // edição." (std::runtime_error).
    void edit();
    void insert();       // a new record before the current one
    void append();       // a new record at the end
    void post();
    void cancel();
    void remove();       // deletes the current record

    // The change log: at most one entry per record, keyed by a record id
    // that survives moves of rows; an update of an inserted record stays an
    // insert, a delete of an inserted record drops its entry.
    // An entry holds the record's original values; its current values are the
    // record's (a deleted record stays hidden in its place until the log is
    // merged, so cancelUpdates puts it back exactly there). A post that
    // changes no data field logs nothing; a pending edit is not in delta().
    // With logChanges false, posts and deletes go straight into the data
    // (a record deleted then takes its earlier entry with it).
    // cancelUpdates cancels a pending edit first (with its events), emits
    // aboutToReset/reset around the undo, and keeps the current record when
    // it survives; right after a delete (the cursor not moved since) the
    // record deleted comes back as the current one. applyUpdates posts a
    // pending edit first and does not call `send` when there is nothing to
    // send.
    bool logChanges() const;
    void setLogChanges(bool log);
    int changeCount() const;
    ChangeDelta delta() const;
    void mergeChangeLog();  // current values become the original ones
    void cancelUpdates();   // undoes every logged change, last to first
    // Sends the delta through `send`; merges the log when it returns and
    // keeps it untouched when it throws (the exception goes on).
    void applyUpdates(const std::function<void(const ChangeDelta &)> &send);

    // Someone else changed a record on the server: its data fields named in
    // `values` take the values given, as if loaded, with nothing logged, and
    // its calculated fields follow (rowChanged). The record keeps its row,
    // whatever the order. Returns false, changing nothing, for the record
    // being edited and for one with logged changes: what the operator did to
    // it stays. Names the list lacks are skipped; a row out of range throws
    // std::runtime_error.
    bool refreshRecord(int row, const QHash<QString, QVariant> &values);

    // Reading any record without moving the current one (grids, lookups).
    // While a get-text hook runs for displayTextAt/editTextAt, the Field API
    // reads `row` and refuses writes to data fields; the current record is
    // unchanged afterwards. A row or field index out of range throws
    // std::runtime_error.
    QVariant valueAt(int row, int fieldIndex) const;
    QString displayTextAt(int row, int fieldIndex) const;
    QString editTextAt(int row, int fieldIndex) const;
    // The UTF-8 bytes a text field holds at `row` (empty for null), valid
    // until the list changes: its display text when the field shows what
    // it stores (Field::showsStoredText), read without a QString between,
    // for writers of whole lists. Refused for other fields.
    QByteArrayView storedTextAt(int row, int fieldIndex) const;
    // A number, date-time or integer field's value at `row` as a double, NaN
    // for null, without a QVariant between. Refused for texts and blobs.
    double storedNumberAt(int row, int fieldIndex) const;

    Event beforeOpen, afterOpen, beforeClose, afterClose;
    Event beforeScroll, afterScroll;
    Event beforeEdit, afterEdit, beforeInsert, afterInsert, onNewRecord;
    Event beforePost, afterPost, beforeCancel, afterCancel;
    Event beforeDelete, afterDelete;
    Event onCalcFields; // called with state CalcFields for each record

signals:
    // Row signals come in pairs around each single-record change, so an item
    // model can call begin/end at the right moments; loads, closes and
    // cancelUpdates come as aboutToReset/reset instead.
    void stateChanged(RecordList::State state);
    void aboutToReset();          // the whole data is about to be replaced or dropped
    void reset();                 // the whole data was replaced or dropped
    void rowAboutToBeInserted(int row); // a record is about to be added at row
    void rowInserted(int row);    // after a record was added at row
    void rowAboutToBeRemoved(int row);  // the record at row is about to be removed
    void rowRemoved(int row);     // after the record at row was removed
    void rowChanged(int row);     // a value of the record at row changed
    void currentChanged(int row); // another record became current
    void orderChanged();          // setOrder changed the field or direction

private:
    friend class Field;
    struct Private;
    class ActiveRowScope;

    void setState(State state);
    void requireActive() const;
    void openWith(PacketColumns *packet); // nullptr: empty
    void arrange();
    void adoptPacketFields(const QList<FieldDef> &fields);
    void calculate(int row);
    void scrollTo(int row, bool bofAfter, bool eofAfter);
    void setCurrent(int row);
    void postIfEditing();
    void startInsert(bool atEnd);
    void dropNewRecord(int fallbackRow);
    void checkRequired() const;
    void checkReadable(int row, int fieldIndex) const;
    QVariantList emptyRecord() const;
    QVariantList dataValues(const QVariantList &record) const;
    QVariantList currentValuesOf(quint64 recordId) const;
    int activeRow() const;
    QVariant activeValue(int fieldIndex) const;
    QVariant activeOldValue(int fieldIndex) const;
    void writeActiveValue(const Field &field, const QVariant &value);

    std::unique_ptr<Private> d;
};
