#pragma once

#include "DataPacket.h"

#include <QString>

// How a packet read one way differs from the packet the codec read: empty
// when both hold the same fields and values, type for type; otherwise the
// first difference.
namespace PacketDifference {
enum class Texts { Exact, AsUtf8Keeps }; // see IntendedDifferences
QString between(const QList<FieldDef> &fields, const QList<QVariantList> &rows, const DataPacket &expected, Texts texts);
} // namespace PacketDifference
