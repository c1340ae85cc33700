#pragma once

#include "JsonStreamReader.h"
#include "PacketColumns.h"

// Reads a data packet ({"fields":[...],"rows":[...]}) from a stream straight
// into typed columns, one row at a time, letting go of each row's bytes once
// it is stored: no JSON document and no QVariant per value in between. Rows
// in the usual shape take the fast way; any other row (and a packet whose
// rows come before its fields) goes through WireCodec, so what is accepted
// and every error message are the codec's own.
namespace PacketReader {
// The reader stands at the packet's '{'. Throws std::runtime_error as
// WireCodec::decodePacket does, and JsonStreamReader's errors.
PacketColumns read(JsonStreamReader &reader);
} // namespace PacketReader
