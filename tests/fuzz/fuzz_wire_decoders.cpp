// Fuzz target: what reads packets and deltas, on both sides of the wire. An
// input is JSON text (or what a mutation left of it).
//
// Rules:
// - WireCodec: what QJsonDocument parses as an object goes to decodePacket
//   and decodeDelta; each refuses only with std::runtime_error, and what
//   it accepts encodes and decodes again to the same fields and values.
// - JsonStreamReader::readValue, given the bytes whole, one at a time and
//   in pieces, reads an object or array exactly as QJsonDocument does, and
//   refuses, only with its SyntaxError, what QJsonDocument refuses.
// - PacketReader::read, given the bytes the same three ways, accepts what
//   the codec accepts with the same values, and refuses with the codec's
//   message what the codec refuses.
// Except where they differ on purpose (IntendedDifferences).

#include "FuzzFailure.h"
#include "FuzzTarget.h"
#include "IntendedDifferences.h"
#include "PacketDifference.h"
#include "PacketRows.h"
#include "PacketReader.h"
#include "StreamFeed.h"
#include "WireCodec.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>

namespace {

using namespace IntendedDifferences;
using PacketDifference::Texts;

constexpr StreamFeed::Cut cuts[] = {StreamFeed::Cut::Whole, StreamFeed::Cut::Bytes, StreamFeed::Cut::Pieces};

QString cutName(StreamFeed::Cut cut)
{
    return QLatin1String(cut == StreamFeed::Cut::Whole ? "whole" : cut == StreamFeed::Cut::Bytes ? "one byte at a time" : "in pieces");
}

QByteArray compact(const QJsonValue &value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
}

bool onlySpace(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

// Empty when `reading` accepts; otherwise its refusal.
QString messageOf(const std::function<void()> &reading)
{
    try {
        reading();
    } catch (const std::runtime_error &error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

void checkCodec(const QJsonObject &object, const QByteArray &input)
{
    std::optional<DataPacket> packet;
    try {
        packet = WireCodec::decodePacket(object);
    } catch (const std::runtime_error &) {
    }
    if (packet) {
        const QString difference = PacketDifference::between(packet->fields, packet->rows,
                                                             WireCodec::decodePacket(WireCodec::encodePacket(*packet)), Texts::Exact);
        if (!difference.isEmpty()) {
            fuzzFailure(QStringLiteral("a packet encoded and decoded again changed: %1").arg(difference), input);
        }
    }
    std::optional<ChangeDelta> delta;
    try {
        delta = WireCodec::decodeDelta(object);
    } catch (const std::runtime_error &) {
    }
    if (delta) {
        const ChangeDelta again = WireCodec::decodeDelta(WireCodec::encodeDelta(*delta));
        bool same = again.fields == delta->fields && again.changes.size() == delta->changes.size();
        for (qsizetype i = 0; same && i < again.changes.size(); ++i) {
            const RowChange &before = delta->changes.at(i);
            const RowChange &after = again.changes.at(i);
            same = before.op == after.op
                && PacketDifference::between(delta->fields, {before.oldValues}, {delta->fields, {after.oldValues}}, Texts::Exact).isEmpty()
                && PacketDifference::between(delta->fields, {before.newValues}, {delta->fields, {after.newValues}}, Texts::Exact).isEmpty();
        }
        if (!same) {
            fuzzFailure(QStringLiteral("a delta encoded and decoded again changed"), input);
        }
    }
}

void checkValueReader(const QByteArray &input, const std::optional<QJsonDocument> &document, StreamFeed::Cut cut)
{
    const StreamFeed feed(input, cut, qHash(input));
    JsonStreamReader reader = feed.reader();
    std::optional<QJsonValue> value;
    try {
        value = reader.readValue();
    } catch (const JsonStreamReader::SyntaxError &error) {
        if (document && !strictOnPurpose(error, input)) {
            fuzzFailure(QStringLiteral("the stream reader (%1) refuses what QJsonDocument reads: %2")
                            .arg(cutName(cut), QString::fromUtf8(error.what())), input);
        }
        return;
    }
    const bool wholeText = onlySpace(reader.takeUnread() + feed.rest());
    if (!document) {
        // QJsonDocument reads only objects and arrays, and nothing after them.
        if (wholeText && (value->isObject() || value->isArray())) {
            fuzzFailure(QStringLiteral("the stream reader (%1) reads what QJsonDocument refuses").arg(cutName(cut)), input);
        }
        return;
    }
    const QJsonValue expected = document->isArray() ? QJsonValue(document->array()) : QJsonValue(document->object());
    if (!wholeText) {
        fuzzFailure(QStringLiteral("the stream reader (%1) stops before the end of what QJsonDocument reads").arg(cutName(cut)), input);
    }
    if (!sameJson(*value, expected)) {
        fuzzFailure(QStringLiteral("the stream reader (%1) reads another value than QJsonDocument").arg(cutName(cut)),
                    "stream reader: " + compact(*value).left(500) + "\nQJsonDocument: " + compact(expected).left(500) + "\ninput: " + input);
    }
}

void checkPacketReader(const QByteArray &input, const std::optional<QJsonDocument> &document, StreamFeed::Cut cut)
{
    const StreamFeed feed(input, cut, qHash(input));
    JsonStreamReader reader = feed.reader();
    std::optional<PacketColumns> read;
    QString refusal;
    try {
        read = PacketReader::read(reader);
    } catch (const JsonStreamReader::SyntaxError &error) {
        if (document && document->isObject() && !strictOnPurpose(error, input)) {
            fuzzFailure(QStringLiteral("the packet reader (%1) finds a syntax error QJsonDocument does not: %2")
                            .arg(cutName(cut), QString::fromUtf8(error.what())), input);
        }
        return;
    } catch (const std::runtime_error &error) {
        refusal = QString::fromUtf8(error.what());
    }
    if (read) {
        for (const Column &column : read->columns) {
            if (column.size() != read->rowCount) {
                fuzzFailure(QStringLiteral("the packet reader (%1) left a column of another length").arg(cutName(cut)), input);
            }
        }
    }
    if (!document || !document->isObject()) {
        return;
    }
    const QString codecRefusal = messageOf([&] { WireCodec::decodePacket(document->object()); });
    if (read && !codecRefusal.isEmpty()) {
        fuzzFailure(QStringLiteral("the packet reader (%1) accepts what the codec refuses: %2").arg(cutName(cut), codecRefusal), input);
    }
    if (!read && !sameMessage(refusal, codecRefusal) && !refusesANameTwice(refusal)) {
        fuzzFailure(QStringLiteral("the packet reader (%1) refuses with \"%2\" where the codec %3")
                        .arg(cutName(cut), refusal,
                             codecRefusal.isEmpty() ? QStringLiteral("accepts") : QStringLiteral("says \"%1\"").arg(codecRefusal)),
                    input);
    }
    if (read && codecRefusal.isEmpty()) {
        const QString difference = PacketDifference::between(read->fields, rowsOf(*read), WireCodec::decodePacket(document->object()),
                                                             Texts::AsUtf8Keeps);
        if (!difference.isEmpty()) {
            fuzzFailure(QStringLiteral("the packet reader (%1) reads another packet than the codec: %2").arg(cutName(cut), difference), input);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(input, &error);
    const std::optional<QJsonDocument> document = error.error == QJsonParseError::NoError ? std::optional(parsed) : std::nullopt;
    if (document && document->isObject()) {
        checkCodec(document->object(), input);
    }
    for (const StreamFeed::Cut cut : cuts) {
        checkValueReader(input, document, cut);
        checkPacketReader(input, document, cut);
    }
    return 0;
}
