#pragma once

#include "Column.h"
#include "DataPacket.h"

#include <vector>

// A data packet held column by column, as large answers are read from the
// wire and record lists keep them: one typed Column per field.
struct PacketColumns {
    QList<FieldDef> fields;
    std::vector<Column> columns; // one per field, each rowCount long
    qsizetype rowCount = 0;

    // The rows of a packet built value by value (small answers, tests).
    static PacketColumns fromPacket(const DataPacket &packet);
    int indexOf(const QString &fieldName) const; // without regard to case; -1 when absent
};
