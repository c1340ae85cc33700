#include "FieldSet.h"

#include "FieldText.h"
#include "RecordList.h"

#include <algorithm>
#include <stdexcept>

Field *FieldSet::find(const QString &name) const
{
    for (const auto &field : m_fields) {
        if (field->name().compare(name, Qt::CaseInsensitive) == 0) {
            return field.get();
        }
    }
    return nullptr;
}

Field &FieldSet::add(const FieldDef &definition)
{
    m_fields.push_back(std::make_unique<Field>(m_list, count(), definition));
    return *m_fields.back();
}

bool FieldSet::hasCalculated() const
{
    return std::any_of(m_fields.cbegin(), m_fields.cend(), [](const auto &field) { return field->isCalculated(); });
}

QList<FieldDef> FieldSet::dataDefs() const
{
    QList<FieldDef> defs;
    for (const auto &field : m_fields) {
        if (!field->isCalculated()) {
            defs.append(field->definition());
        }
    }
    return defs;
}

QVariantList FieldSet::dataValues(const QVariantList &record) const
{
    QVariantList values;
    for (const auto &field : m_fields) {
        if (!field->isCalculated()) {
            values.append(record.value(field->index()));
        }
    }
    return values;
}

void FieldSet::clearCalculated(QVariantList &record) const
{
    for (const auto &field : m_fields) {
        if (field->isCalculated()) {
            record[field->index()] = QVariant();
        }
    }
}

bool FieldSet::takesRowsAsTheyAre(const DataPacket &packet) const
{
    if (packet.fields.size() != count()) {
        return false;
    }
    for (int i = 0; i < count(); ++i) {
        const Field &field = at(i);
        if (field.isCalculated() || field.type() != packet.fields.at(i).type
            || field.name().compare(packet.fields.at(i).name, Qt::CaseInsensitive) != 0) {
            return false;
        }
    }
    return std::all_of(packet.rows.cbegin(), packet.rows.cend(), [this](const QVariantList &row) { return row.size() == count(); });
}

QList<QVariantList> FieldSet::recordsFrom(const DataPacket &packet) const
{
    if (takesRowsAsTheyAre(packet)) {
        // The usual load: the list's fields are the packet's own, in its
        // order, so its rows are already records, shared instead of copied
        // value by value (a branch's list has over a million values).
        return packet.rows;
    }
    QList<int> columns; // packet column of each field, -1 when it has none
    for (const auto &field : m_fields) {
        columns.append(field->isCalculated() ? -1 : packet.indexOf(field->name()));
    }
    QList<QVariantList> records;
    records.reserve(packet.rows.size());
    for (const QVariantList &row : packet.rows) {
        QVariantList record = emptyRecord();
        for (int i = 0; i < count(); ++i) {
            const int column = columns.at(i);
            if (column < 0 || column >= row.size()) {
                continue;
            }
            const Field &target = at(i);
            try {
                record[i] = packet.fields.at(column).type == target.type() ? row.at(column)
                                                                          : FieldText::coerce(row.at(column), target.type());
            } catch (const std::runtime_error &error) {
                throw std::runtime_error(QStringLiteral("Lista %1, campo %2: %3")
                                             .arg(m_list.name(), target.name(), QString::fromUtf8(error.what()))
                                             .toStdString());
            }
        }
        records.append(record);
    }
    return records;
}
