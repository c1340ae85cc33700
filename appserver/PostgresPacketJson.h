#pragma once

#include "AnswerStream.h"
#include "DataPacket.h"
#include "PostgresRows.h"

// PacketJson::write for rows taken from libpq as PostgreSQL sends them: each
// text goes from PostgreSQL's UTF-8 into the answer, escaped in one pass,
// each number through JsonText, with no QVariant in between. The text is
// byte for byte what PacketJson::write makes of the same rows through QtSql.
namespace PostgresPacketJson {
// Takes every row; their columns are the packet's fields from `firstStored`
// on (the fields before it travel empty). Returns the number of rows.
// Throws std::runtime_error when the query fails on the way,
// AnswerStream::ClientGone when the client stops taking the answer.
qsizetype write(PostgresRows &rows, const QList<FieldDef> &fields, int firstStored, AnswerStream &out);
} // namespace PostgresPacketJson
