#pragma once

#include "DataPacket.h"

#include <QJsonObject>
#include <QJsonValue>

// JSON codec of the wire protocol. The decoders throw std::runtime_error with
// a message naming what is wrong when the JSON does not have the documented
// shape (unknown type, row of the wrong width, value of the wrong kind).
namespace WireCodec {
QString typeName(FieldType type);
FieldType typeFromName(const QString &name); // throws on an unknown name

QJsonObject encodePacket(const DataPacket &packet);
DataPacket decodePacket(const QJsonObject &json);

QJsonObject encodeDelta(const ChangeDelta &delta);
ChangeDelta decodeDelta(const QJsonObject &json);

// The pieces a reader of packets from a stream needs: the field list of an
// object holding "fields", and one row checked against it (the error names
// the row by its 0-based index).
QList<FieldDef> decodeFields(const QJsonObject &json, const QString &where);
QVariantList decodePacketRow(const QJsonValue &row, const QList<FieldDef> &fields, qsizetype index);

QJsonValue encodeValue(const QVariant &value, FieldType type);
QVariant decodeValue(const QJsonValue &json, FieldType type); // throws on a mismatch
} // namespace WireCodec
