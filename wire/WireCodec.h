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

QJsonValue encodeValue(const QVariant &value, FieldType type);
QVariant decodeValue(const QJsonValue &json, FieldType type); // throws on a mismatch
} // namespace WireCodec
