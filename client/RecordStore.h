#pragma once

#include <QHash>
#include <QList>
#include <QVariant>

#include <vector>

// The records of a list in their order, each with an id that never changes
// while the record exists. A deleted record whose deletion is still logged
// stays behind as a hidden "tombstone" in its place, so undoing the deletion
// puts it back exactly where it was whatever happened to the rows around it.
// Rows are the visible records, 0-based. Functions taking a row or an id
// expect a valid one (asserted), callers check first.
class RecordStore final {
public:
    using Id = quint64;

    void clear();
    void assign(const QList<QVariantList> &rows); // fresh ids, no tombstones

    int count() const { return static_cast<int>(m_visible.size()); }
    Id idAt(int row) const;
    int rowOf(Id id) const; // -1 when the record is hidden or gone
    bool contains(Id id) const { return m_position.contains(id); }
    const QVariantList &values(int row) const;
    QVariantList &values(int row);
    const QVariantList &valuesOf(Id id) const; // visible or tombstone
    QVariantList &valuesOf(Id id);

    Id insert(int row, const QVariantList &values); // row == count() appends
    void hide(int row);  // leaves a tombstone
    void erase(Id id);   // gone for good, visible or not
    int reveal(Id id);   // a tombstone becomes visible again; returns its row
    void dropTombstones();

private:
    struct Record {
        Id id = 0;
        QVariantList values;
        bool hidden = false;
    };

    void reindex();

    std::vector<Record> m_records;
    std::vector<int> m_visible;          // row -> index in m_records
    QHash<Id, int> m_position;           // id -> index in m_records
    QHash<Id, int> m_row;                // id -> row, visible records only
    Id m_nextId = 1;
};
