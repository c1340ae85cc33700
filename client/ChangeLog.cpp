#include "ChangeLog.h"

#include <algorithm>

const ChangeLog::Entry *ChangeLog::find(RecordStore::Id id) const
{
    const auto it = std::find_if(m_entries.cbegin(), m_entries.cend(), [id](const Entry &entry) { return entry.recordId == id; });
    return it == m_entries.cend() ? nullptr : &*it;
}

ChangeLog::Entry *ChangeLog::findEntry(RecordStore::Id id)
{
    return const_cast<Entry *>(std::as_const(*this).find(id));
}

void ChangeLog::logInsert(RecordStore::Id id)
{
    Q_ASSERT(!find(id));
    m_entries.push_back(Entry{id, RowChange::Op::Insert, {}});
}

void ChangeLog::logUpdate(RecordStore::Id id, const QVariantList &original)
{
    if (!find(id)) {
        m_entries.push_back(Entry{id, RowChange::Op::Update, original});
    }
}

bool ChangeLog::logDelete(RecordStore::Id id, const QVariantList &original)
{
    Entry *entry = findEntry(id);
    if (!entry) {
        m_entries.push_back(Entry{id, RowChange::Op::Delete, original});
        return true;
    }
    if (entry->op == RowChange::Op::Insert) {
        forget(id);
        return false;
    }
    // An updated record keeps the values the server knows as its original.
    entry->op = RowChange::Op::Delete;
    return true;
}

void ChangeLog::forget(RecordStore::Id id)
{
    std::erase_if(m_entries, [id](const Entry &entry) { return entry.recordId == id; });
}

void ChangeLog::undoAll(RecordStore &store)
{
    for (auto it = m_entries.crbegin(); it != m_entries.crend(); ++it) {
        if (it->op == RowChange::Op::Insert) {
            store.erase(it->recordId);
            continue;
        }
        store.setValuesOf(it->recordId, it->original);
        if (it->op == RowChange::Op::Delete) {
            store.reveal(it->recordId);
        }
    }
    m_entries.clear();
}
