#include "RecordStore.h"

void RecordStore::reset(const std::vector<FieldType> &types)
{
    std::vector<Column> columns;
    columns.reserve(types.size());
    for (FieldType type : types) {
        columns.emplace_back(type);
    }
    assign(std::move(columns), 0);
}

void RecordStore::assign(std::vector<Column> columns, qsizetype rows)
{
    m_columns = std::move(columns);
    m_slots = rows;
    m_records.clear();
    m_records.reserve(size_t(rows));
    // Ids go on from where the last ones ended, so an id kept from before
    // never names a record of the new data.
    m_firstId = m_nextId;
    for (qsizetype slot = 0; slot < rows; ++slot) {
        m_records.push_back(Record{m_nextId++, slot, false});
    }
    reindex();
}

int RecordStore::positionOf(Id id) const
{
    if (id < m_firstId || id - m_firstId >= m_position.size()) {
        return -1;
    }
    return m_position[id - m_firstId];
}

RecordStore::Id RecordStore::idAt(int row) const
{
    Q_ASSERT(row >= 0 && row < count());
    return m_records[size_t(m_visible[size_t(row)])].id;
}

int RecordStore::rowOf(Id id) const
{
    return positionOf(id) < 0 ? -1 : m_row[id - m_firstId];
}

QVariant RecordStore::value(int row, int column) const
{
    Q_ASSERT(row >= 0 && row < count() && column >= 0 && column < int(m_columns.size()));
    return m_columns[size_t(column)].value(m_records[size_t(m_visible[size_t(row)])].slot);
}

QByteArrayView RecordStore::bytes(int row, int column) const
{
    Q_ASSERT(row >= 0 && row < count() && column >= 0 && column < int(m_columns.size()));
    return m_columns[size_t(column)].bytes(m_records[size_t(m_visible[size_t(row)])].slot);
}

double RecordStore::number(int row, int column) const
{
    Q_ASSERT(row >= 0 && row < count() && column >= 0 && column < int(m_columns.size()));
    return m_columns[size_t(column)].number(m_records[size_t(m_visible[size_t(row)])].slot);
}

void RecordStore::setValue(int row, int column, const QVariant &value)
{
    Q_ASSERT(row >= 0 && row < count() && column >= 0 && column < int(m_columns.size()));
    m_columns[size_t(column)].set(m_records[size_t(m_visible[size_t(row)])].slot, value);
}

QVariantList RecordStore::values(int row) const
{
    Q_ASSERT(row >= 0 && row < count());
    return slotValues(m_records[size_t(m_visible[size_t(row)])].slot);
}

void RecordStore::setValues(int row, const QVariantList &values)
{
    Q_ASSERT(row >= 0 && row < count());
    setSlotValues(m_records[size_t(m_visible[size_t(row)])].slot, values);
}

QVariantList RecordStore::valuesOf(Id id) const
{
    Q_ASSERT(contains(id));
    return slotValues(m_records[size_t(positionOf(id))].slot);
}

void RecordStore::setValuesOf(Id id, const QVariantList &values)
{
    Q_ASSERT(contains(id));
    setSlotValues(m_records[size_t(positionOf(id))].slot, values);
}

QVariantList RecordStore::slotValues(qsizetype slot) const
{
    QVariantList values;
    values.reserve(qsizetype(m_columns.size()));
    for (const Column &column : m_columns) {
        values.append(column.value(slot));
    }
    return values;
}

void RecordStore::setSlotValues(qsizetype slot, const QVariantList &values)
{
    for (size_t i = 0; i < m_columns.size(); ++i) {
        m_columns[i].set(slot, values.value(qsizetype(i)));
    }
}

RecordStore::Id RecordStore::insert(int row, const QVariantList &values)
{
    Q_ASSERT(row >= 0 && row <= count());
    const qsizetype slot = m_slots++;
    for (Column &column : m_columns) {
        column.resize(m_slots);
    }
    setSlotValues(slot, values);
    const auto at = row == count() ? m_records.end() : m_records.begin() + m_visible[size_t(row)];
    const Id id = m_nextId++;
    m_records.insert(at, Record{id, slot, false});
    reindex();
    return id;
}

void RecordStore::hide(int row)
{
    Q_ASSERT(row >= 0 && row < count());
    m_records[size_t(m_visible[size_t(row)])].hidden = true;
    reindex();
}

void RecordStore::erase(Id id)
{
    Q_ASSERT(contains(id));
    // The slot stays behind unused: a list loses few records between loads.
    m_records.erase(m_records.begin() + positionOf(id));
    reindex();
}

int RecordStore::reveal(Id id)
{
    Q_ASSERT(contains(id));
    m_records[size_t(positionOf(id))].hidden = false;
    reindex();
    return rowOf(id);
}

void RecordStore::dropTombstones()
{
    std::erase_if(m_records, [](const Record &record) { return record.hidden; });
    reindex();
}

std::vector<RecordStore::Id> RecordStore::order() const
{
    std::vector<Id> ids;
    ids.reserve(m_records.size());
    for (const Record &record : m_records) {
        ids.push_back(record.id);
    }
    return ids;
}

void RecordStore::arrange(const std::vector<Id> &ids)
{
    Q_ASSERT(ids.size() == m_records.size());
    std::vector<Record> arranged;
    arranged.reserve(ids.size());
    for (Id id : ids) {
        arranged.push_back(m_records[size_t(positionOf(id))]);
    }
    m_records = std::move(arranged);
    reindex();
}

void RecordStore::reindex()
{
    const auto ids = size_t(m_nextId - m_firstId);
    m_visible.clear();
    m_position.assign(ids, -1);
    m_row.assign(ids, -1);
    for (int i = 0; i < static_cast<int>(m_records.size()); ++i) {
        const Record &record = m_records[size_t(i)];
        const auto key = size_t(record.id - m_firstId);
        m_position[key] = i;
        if (!record.hidden) {
            m_row[key] = static_cast<int>(m_visible.size());
            m_visible.push_back(i);
        }
    }
}
