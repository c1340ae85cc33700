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

// The packet with its rows, sent on as the chunks fill: `next()` steps to
// a row (false after the last), `column(text, index, type)` appends the
// row's stored column `index` as a value of `type`. The fields before
// `firstStored` travel empty. Returns the number of rows; throws
// AnswerStream::ClientGone when the client stops taking them.
template <typename Next, typename Column>
qsizetype writeRows(const QList<FieldDef> &fields, int firstStored, AnswerStream &out, Next next, Column column)
{
    QByteArray &text = out.buffer();
    beginRows(text, fields);
    const int width = int(fields.size());
    qsizetype rows = 0;
    while (next()) {
        text.append(rows == 0 ? "[" : ",[");
        for (int i = 0; i < width; ++i) {
            if (i > 0) {
                text.append(',');
            }
            if (i < firstStored) {
                text.append("null");
            } else {
                column(text, i - firstStored, fields.at(i).type);
            }
        }
        text.append(']');
        ++rows;
        out.sendFullChunk();
    }
    endRows(text);
    return rows;
}

// Every row of an executed query whose columns are the packet's fields
// from `firstStored` on (the fields before it travel empty), sent on as
// the chunks fill. Returns the number of rows; throws
// AnswerStream::ClientGone when the client stops taking them.
qsizetype write(QSqlQuery &query, const QList<FieldDef> &fields, int firstStored, AnswerStream &out);

} // namespace PacketJson
