#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QString>

// One call to "CXL04100.rdmCancelamento" over a plain socket, without the
// client connection, to see the answer line exactly as it travels.
namespace RawCall {
// Connects, calls `method` with `params` and returns the answer line
// without its newline. Throws std::runtime_error when the server cannot be
// reached or does not answer within ten minutes.
QByteArray answerLine(quint16 port, const QString &method, const QJsonArray &params);
} // namespace RawCall
