#pragma once

#include "DataPacket.h"
#include "Field.h"

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
    void clearCalculated(QVariantList &record) const;

    // The packet's rows as list records, matching columns by field name; a
    // value of another type than the field's is converted, and one that
    // cannot be throws std::runtime_error naming the list and field.
    QList<QVariantList> recordsFrom(const DataPacket &packet) const;

private:
    // Same fields in the same order with the same types, none calculated,
    // and every row as wide as a record.
    bool takesRowsAsTheyAre(const DataPacket &packet) const;

    RecordList &m_list;
    std::vector<std::unique_ptr<Field>> m_fields;
    bool m_fromPacket = false;
};
