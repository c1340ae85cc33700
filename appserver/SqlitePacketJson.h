#pragma once

#include "AnswerStream.h"
#include "DataPacket.h"
#include "SqliteStatement.h"

// PacketJson::write for a statement stepped straight through SQLite: each
// text goes from SQLite's own UTF-8 into the answer, escaped in one pass,
// each number through JsonText, with no QVariant in between. The text is
// byte for byte what PacketJson::write makes of the same rows through QtSql,
// whatever the storage class SQLite gives a column.
namespace SqlitePacketJson {
// Steps through every row; the statement's columns are the packet's fields
// from `firstStored` on (the fields before it travel empty). Returns the
// number of rows. Throws std::runtime_error when a step fails,
// AnswerStream::ClientGone when the client stops taking the answer.
qsizetype write(SqliteStatement &statement, const QList<FieldDef> &fields, int firstStored, AnswerStream &out);
} // namespace SqlitePacketJson
