#pragma once

#include "DataPacket.h"
#include "RecordStore.h"

#include <vector>

// The local changes of a record list not yet accepted by the server: at most
// one entry per record, in the order the records were first changed. An
// entry keeps the record's original values; its current values are the
// record's own (for a deletion, those of its tombstone in the store).
class ChangeLog final {
public:
    struct Entry {
        RecordStore::Id recordId = 0;
        RowChange::Op op = RowChange::Op::Update;
        QVariantList original; // empty for an insert
    };

    void clear() { m_entries.clear(); }
    int count() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    const std::vector<Entry> &entries() const { return m_entries; }
    const Entry *find(RecordStore::Id id) const;

    void logInsert(RecordStore::Id id);
    // An update of an inserted or already updated record keeps its entry.
    void logUpdate(RecordStore::Id id, const QVariantList &original);
    // Returns false when the record was inserted locally: its entry is
    // dropped and nothing is left for the server to do.
    bool logDelete(RecordStore::Id id, const QVariantList &original);
    void forget(RecordStore::Id id);

    // Puts every logged record back as it was, last change first: inserted
    // records go, updated ones get their original values, deleted ones come
    // back in their place. The log is empty afterwards.
    void undoAll(RecordStore &store);

private:
    Entry *findEntry(RecordStore::Id id);

    std::vector<Entry> m_entries;
};
