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

std::vector<FieldType> FieldSet::types() const
{
    std::vector<FieldType> types;
    for (const auto &field : m_fields) {
        types.push_back(field->type());
    }
    return types;
}

std::vector<Column> FieldSet::columnsFrom(PacketColumns &&packet) const
{
    std::vector<Column> columns;
    columns.reserve(m_fields.size());
    for (const auto &field : m_fields) {
        const int index = field->isCalculated() ? -1 : packet.indexOf(field->name());
        if (index < 0 || size_t(index) >= packet.columns.size()) {
            Column empty(field->type());
            empty.resize(packet.rowCount);
            columns.push_back(std::move(empty));
            continue;
        }
        Column &source = packet.columns[size_t(index)];
        // Field names are unique, so no packet column is wanted twice.
        if (source.type() == field->type()) {
            columns.push_back(std::move(source));
            continue;
        }
        Column converted(field->type());
        converted.resize(packet.rowCount);
        for (qsizetype row = 0; row < packet.rowCount; ++row) {
            try {
                converted.set(row, FieldText::coerce(source.value(row), field->type()));
            } catch (const std::runtime_error &error) {
                throw std::runtime_error(QStringLiteral("Lista %1, campo %2: %3")
                                             .arg(m_list.name(), field->name(), QString::fromUtf8(error.what()))
                                             .toStdString());
            }
        }
        columns.push_back(std::move(converted));
    }
    return columns;
}
