#pragma once

#include "PacketColumns.h"

#include <QJsonValue>
#include <QString>

#include <optional>

class RecordList;

// What a screen does with the answer of a server call (TNetConnection::Call).
namespace ServerAnswer {

// Loads a data packet (the payload of a checked answer, as the host's
// CheckResultServ returns it) into `list`, replacing its data whole.
// Throws std::runtime_error naming the list when the payload is not a data
// packet of the protocol's shape; the list is then left as it was. A value
// that the list's fields cannot take fails as RecordList::loadPacket says
// (the list is left closed).
void LoadPacket(RecordList &list, const QJsonValue &packetJson);
// The same for a packet read straight from the answer
// (TNetConnection::CallPacket): an answer without one is refused the same way.
void LoadPacket(RecordList &list, std::optional<PacketColumns> &&packet);

// Element `index` of an answer made of several packets (GetItemOrc answers
// the items and the justification). Throws std::runtime_error when the
// answer is not a list or is too short.
QJsonValue Element(const QJsonValue &answer, int index);

// An unchecked answer "converted to text": a string as it is, null or no
// answer as the empty text, a number or a boolean written out. Throws
// std::runtime_error for a list or an object.
QString AsText(const QJsonValue &answer);

} // namespace ServerAnswer
