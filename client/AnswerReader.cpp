#include "AnswerReader.h"

#include "PacketReader.h"

namespace {

// Reads the object under `key` member by member with `inner`.
JsonStreamReader::MemberReader into(JsonStreamReader &reader, const char *key, JsonStreamReader::MemberReader inner)
{
    return [&reader, key, inner = std::move(inner)](const QString &member, QJsonObject &object) {
        if (member != QLatin1String(key) || reader.peek() != '{') {
            return false;
        }
        object.insert(member, reader.readObject(inner));
        return true;
    };
}

} // namespace

namespace AnswerReader {

QJsonObject read(JsonStreamReader &reader, std::optional<PacketColumns> *packet)
{
    if (reader.peek() != '{') {
        throw JsonStreamReader::SyntaxError("a linha recebida não é um objeto JSON");
    }
    const JsonStreamReader::MemberReader data = [&reader, packet](const QString &member, QJsonObject &) {
        if (!packet || member != QLatin1String("data") || reader.peek() != '{') {
            return false;
        }
        *packet = PacketReader::read(reader);
        return true;
    };
    const QJsonObject answer = reader.readObject(into(reader, "result", into(reader, "value", data)));
    reader.endLine();
    return answer;
}

} // namespace AnswerReader
