#pragma once

#include "Field.h"
#include "PacketColumns.h"

#include <memory>
#include <vector>

class RecordList;

// The fields of one record list, in column order, and the mapping between a
// list record (one value per field, calculated ones included) and the data
// columns the server knows. Names compare without regard to case.
class FieldSet final {
public:
    explicit FieldSet(RecordList &list) : m_list(list) {}

    int count() const { return static_cast<int>(m_fields.size()); }
    bool isEmpty() const { return m_fields.empty(); }
    Field &at(int index) const { return *m_fields[index]; }
    Field *find(const QString &name) const;
    Field &add(const FieldDef &definition); // the caller checks the name is new
    void clear() { m_fields.clear(); }

    // True when the fields were created from a packet rather than declared.
    bool cameFromPacket() const { return m_fromPacket; }
    void setCameFromPacket(bool fromPacket) { m_fromPacket = fromPacket; }

    bool hasCalculated() const;
    QList<FieldDef> dataDefs() const;
    QVariantList emptyRecord() const { return QVariantList(count()); }
    QVariantList dataValues(const QVariantList &record) const;
    std::vector<FieldType> types() const;

    // The packet's columns as the list's, one per field in field order,
    // matched by name and taken over, not copied; a field the packet lacks
    // (and a calculated one) gets an empty column. A column of another type
    // than its field's is converted, and a value that cannot be throws
    // std::runtime_error naming the list and field.
    std::vector<Column> columnsFrom(PacketColumns &&packet) const;

private:
    RecordList &m_list;
    std::vector<std::unique_ptr<Field>> m_fields;
    bool m_fromPacket = false;
};
