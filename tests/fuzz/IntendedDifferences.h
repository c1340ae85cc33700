#pragma once

#include "JsonStreamReader.h"

#include <QByteArray>
#include <QJsonValue>
#include <QString>

// Where the stream reader (JsonStreamReader, PacketReader) reads otherwise
// than QJsonDocument and the codec on purpose, for the fuzz target to tell
// from a fault:
// - it keeps texts in UTF-8, which has no place for half a surrogate pair:
//   each one alone reads as U+FFFD (the codec's messages, through
//   QString::toStdString, show it as '?');
// - it refuses nesting deeper than 256 levels, and what JSON forbids but
//   QJsonDocument lets through: a raw control character inside a text, an
//   unknown escape, a number like ".5" or "1.";
// - PacketReader refuses a packet naming "fields" or "rows" twice, where
//   QJsonDocument keeps the last.
namespace IntendedDifferences {
QString asUtf8Keeps(const QString &text);
// Whether the stream reader's value is QJsonDocument's: numbers alike as
// doubles and as whole numbers (QJsonDocument keeps an integer below -2^63
// as -2^63, the stream reader the double of the same value), texts and
// member names as UTF-8 keeps them.
bool sameJson(const QJsonValue &stream, const QJsonValue &document);
// Whether a syntax error of the stream reader over `input` is one of its
// refusals QJsonDocument does not share.
bool strictOnPurpose(const JsonStreamReader::SyntaxError &error, const QByteArray &input);
// Whether the stream reader's refusal is the codec's message.
bool sameMessage(QString stream, QString codec);
bool refusesANameTwice(const QString &message);
} // namespace IntendedDifferences
