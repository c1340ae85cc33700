#pragma once

#include "AnswerStream.h"
#include "DataPacket.h"

#include <QSqlQuery>

// A data packet written as JSON text ({"fields":[...],"rows":[...]}) row by
// row straight into an answer, for lists too large to build as a tree
// first. The text is what WireCodec and QJsonDocument would write for the
// same packet.
namespace PacketJson {

// The packet up to its first row: {"fields":[...],"rows":[
void beginRows(QByteArray &out, const QList<FieldDef> &fields);
// The end after the last row.
void endRows(QByteArray &out);
// One value as the SQL driver gives it, as a value of its field's type.
void appendValue(QByteArray &out, const QVariant &value, FieldType type);

// Every row of an executed query whose columns are the packet's fields
// from `firstStored` on (the fields before it travel empty), sent on as
// the chunks fill. Returns the number of rows; throws
// AnswerStream::ClientGone when the client stops taking them.
qsizetype write(QSqlQuery &query, const QList<FieldDef> &fields, int firstStored, AnswerStream &out);

} // namespace PacketJson
