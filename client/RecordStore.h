#pragma once

#include "Column.h"

#include <QVariant>

#include <vector>

// The records of a list in their order, each with an id that never changes
// while the record exists. A deleted record whose deletion is still logged
// stays behind as a hidden "tombstone" in its place, so undoing the deletion
// puts it back exactly where it was whatever happened to the rows around it.
// Rows are the visible records, 0-based. Functions taking a row or an id
// expect a valid one (asserted), callers check first.
//
// The values live in one typed Column per field, a record being a slot in
// every column: a loaded list keeps its values as compactly as the columns
// hold them, and a record inserted later takes a new slot at their end.
class RecordStore final {
public:
    using Id = quint64;

    // Columns of these types, no records.
    void reset(const std::vector<FieldType> &types);
    // These columns, each holding `rows` values, become the records in their
    // order, with fresh ids and no tombstones.
    void assign(std::vector<Column> columns, qsizetype rows);

    int count() const { return static_cast<int>(m_visible.size()); }
    Id idAt(int row) const;
    int rowOf(Id id) const; // -1 when the record is hidden or gone
    bool contains(Id id) const { return positionOf(id) >= 0; }

    QVariant value(int row, int column) const;
    QByteArrayView bytes(int row, int column) const; // of a text or blob column
    double number(int row, int column) const;        // of any other, NaN for null
    void setValue(int row, int column, const QVariant &value);
    QVariantList values(int row) const;
    void setValues(int row, const QVariantList &values);
    QVariantList valuesOf(Id id) const; // visible or tombstone
    void setValuesOf(Id id, const QVariantList &values);

    Id insert(int row, const QVariantList &values); // row == count() appends
    void hide(int row);  // leaves a tombstone
    void erase(Id id);   // gone for good, visible or not
    int reveal(Id id);   // a tombstone becomes visible again; returns its row
    void dropTombstones();

    // Every record's id, tombstones too, in their order.
    std::vector<Id> order() const;
    // Puts the records in the order of `ids`, a rearrangement of order().
    void arrange(const std::vector<Id> &ids);

private:
    struct Record {
        Id id = 0;
        qsizetype slot = 0; // in every column
        bool hidden = false;
    };

    int positionOf(Id id) const;
    QVariantList slotValues(qsizetype slot) const;
    void setSlotValues(qsizetype slot, const QVariantList &values);
    void reindex();

    std::vector<Column> m_columns;
    qsizetype m_slots = 0;
    std::vector<Record> m_records;
    std::vector<int> m_visible;  // row -> index in m_records
    // By id - m_firstId (ids are handed out in sequence): the record's index
    // in m_records and its row, -1 when gone or hidden.
    Id m_firstId = 1;
    std::vector<int> m_position;
    std::vector<int> m_row;
    Id m_nextId = 1;
};
