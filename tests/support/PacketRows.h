#pragma once

#include "PacketColumns.h"

#include <QList>
#include <QVariantList>

// A packet read into columns, back as rows of values, to compare with what
// the codec decodes.
inline QList<QVariantList> rowsOf(const PacketColumns &packet)
{
    QList<QVariantList> rows;
    for (qsizetype row = 0; row < packet.rowCount; ++row) {
        QVariantList values;
        for (const Column &column : packet.columns) {
            values.append(column.value(row));
        }
        rows.append(values);
    }
    return rows;
}
