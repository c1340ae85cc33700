#pragma once

#include <QByteArray>
#include <QString>

// The rules every answer of the server keeps (docs/protocol.md), checked on
// an answer to one request line.
namespace AnswerLine {
// What is wrong with `answer` as the server's reply to the line `request`;
// empty when it is one line holding one JSON-RPC 2.0 answer to that
// request's id (null when the id cannot be read): either a result of the
// method's kind (nothing, a plain text, or a checked answer whose packets
// the codec reads) or one of the documented errors. A database failure
// (-32000) counts as wrong: the fuzz database is always healthy.
QString fault(const QByteArray &request, const QByteArray &answer);
} // namespace AnswerLine
