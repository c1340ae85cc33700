#include "PacketColumns.h"

PacketColumns PacketColumns::fromPacket(const DataPacket &packet)
{
    PacketColumns result;
    result.fields = packet.fields;
    result.rowCount = packet.rows.size();
    result.columns.reserve(size_t(packet.fields.size()));
    for (qsizetype i = 0; i < packet.fields.size(); ++i) {
        Column column(packet.fields.at(i).type);
        column.resize(result.rowCount);
        for (qsizetype row = 0; row < result.rowCount; ++row) {
            const QVariant value = packet.rows.at(row).value(i);
            if (value.isValid()) {
                column.set(row, value);
            }
        }
        result.columns.push_back(std::move(column));
    }
    return result;
}

int PacketColumns::indexOf(const QString &fieldName) const
{
    return fieldIndex(fields, fieldName);
}
