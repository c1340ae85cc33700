#pragma once

#include "JsonStreamReader.h"
#include "PacketColumns.h"

#include <QJsonObject>

#include <optional>

// Reads one answer line of the protocol from the connection's stream. With
// `packet`, the data packet of a checked answer (result.value.data) is read
// straight into it, column by column, as its bytes arrive, and left out of
// the object returned; without, the whole answer comes back as JSON.
// Throws JsonStreamReader::SyntaxError for bytes that are not one JSON
// object followed by the line's end, and std::runtime_error for a packet of
// the wrong shape.
namespace AnswerReader {
QJsonObject read(JsonStreamReader &reader, std::optional<PacketColumns> *packet);
} // namespace AnswerReader
