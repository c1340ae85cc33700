#include "RecordStore.h"

void RecordStore::clear()
{
    m_records.clear();
    reindex();
}

void RecordStore::assign(const QList<QVariantList> &rows)
{
    m_records.clear();
    m_records.reserve(rows.size());
    for (const QVariantList &row : rows) {
        m_records.push_back(Record{m_nextId++, row, false});
    }
    reindex();
}

RecordStore::Id RecordStore::idAt(int row) const
{
    Q_ASSERT(row >= 0 && row < count());
    return m_records[m_visible[row]].id;
}

int RecordStore::rowOf(Id id) const
{
    return m_row.value(id, -1);
}

const QVariantList &RecordStore::values(int row) const
{
    Q_ASSERT(row >= 0 && row < count());
    return m_records[m_visible[row]].values;
}

QVariantList &RecordStore::values(int row)
{
    Q_ASSERT(row >= 0 && row < count());
    return m_records[m_visible[row]].values;
}

const QVariantList &RecordStore::valuesOf(Id id) const
{
    Q_ASSERT(contains(id));
    return m_records[m_position.value(id)].values;
}

QVariantList &RecordStore::valuesOf(Id id)
{
    Q_ASSERT(contains(id));
    return m_records[m_position.value(id)].values;
}

RecordStore::Id RecordStore::insert(int row, const QVariantList &values)
{
    Q_ASSERT(row >= 0 && row <= count());
    const auto at = row == count() ? m_records.end() : m_records.begin() + m_visible[row];
    const Id id = m_nextId++;
    m_records.insert(at, Record{id, values, false});
    reindex();
    return id;
}

void RecordStore::hide(int row)
{
    Q_ASSERT(row >= 0 && row < count());
    m_records[m_visible[row]].hidden = true;
    reindex();
}

void RecordStore::erase(Id id)
{
    Q_ASSERT(contains(id));
    m_records.erase(m_records.begin() + m_position.value(id));
    reindex();
}

int RecordStore::reveal(Id id)
{
    Q_ASSERT(contains(id));
    m_records[m_position.value(id)].hidden = false;
    reindex();
    return rowOf(id);
}

void RecordStore::dropTombstones()
{
    std::erase_if(m_records, [](const Record &record) { return record.hidden; });
    reindex();
}

void RecordStore::reindex()
{
    m_visible.clear();
    m_position.clear();
    m_row.clear();
    m_position.reserve(qsizetype(m_records.size()));
    m_row.reserve(qsizetype(m_records.size()));
    for (int i = 0; i < static_cast<int>(m_records.size()); ++i) {
        const Record &record = m_records[i];
        m_position.insert(record.id, i);
        if (!record.hidden) {
            m_row.insert(record.id, static_cast<int>(m_visible.size()));
            m_visible.push_back(i);
        }
    }
}
