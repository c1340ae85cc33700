#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>

#include <optional>

// One request line read as strictly as RFC 8259 writes JSON. QJsonDocument
// alone lets through control characters inside texts, unknown escapes
// ("\a" read as "a"), numbers such as "4." and ".5e1", and keeps the last of
// two members of one name; so the line is checked first by the reader the
// client reads its answers with (wire/JsonStreamReader), the one strict
// reading both sides share, and only then read whole by QJsonDocument.
class RequestLine final {
public:
    // Throws RpcError: ParseError when the line is not JSON, InvalidRequest
    // when it is JSON but not an object, or an object naming a member twice.
    explicit RequestLine(const QByteArray &line);

    const QJsonObject &members() const { return m_members; }
    // The id to answer with, written back exactly as it came: a string,
    // null, or a number written as a 64-bit integer (without "-0", fraction
    // or exponent) that a double holds exactly. Empty when the request has
    // no id or another one, which cannot be answered with.
    const std::optional<QJsonValue> &id() const { return m_id; }

private:
    QJsonObject m_members;
    std::optional<QJsonValue> m_id;
};
