#include "RequestLine.h"

#include "JsonStreamReader.h"
#include "RpcError.h"

#include <QJsonDocument>

#include <charconv>

namespace {

// A number id goes back as the qint64 the answer writes in full. One the
// request wrote in another way, beyond a qint64 (written back as a double,
// 1.8446744073709552e+19), or that a client reading numbers as doubles
// holds only rounded, would come back as a text its client could not match
// to its request.
std::optional<QJsonValue> numberId(const QByteArray &text)
{
    qint64 value = 0;
    const char *end = text.constData() + text.size();
    const auto read = std::from_chars(text.constData(), end, value);
    const double held = double(value);
    if (read.ec != std::errc() || read.ptr != end || QByteArray::number(value) != text || !(held < 0x1p63 && qint64(held) == value)) {
        return std::nullopt;
    }
    return QJsonValue(value);
}

} // namespace

RequestLine::RequestLine(const QByteArray &line)
{
    // The newline the framing took off goes back: it ends a number that
    // ends the line, where the reader would wait for more digits.
    JsonStreamReader reader(line + '\n', {});
    bool isObject = false;
    qsizetype memberCount = 0;
    QByteArray idText;
    try {
        isObject = reader.peek() == '{';
        if (isObject) {
            reader.readObject([&](const QString &name, QJsonObject &) {
                ++memberCount;
                reader.peek();
                const qsizetype start = reader.position();
                reader.skipValue();
                if (name == QLatin1String("id")) {
                    idText = line.mid(start, reader.position() - start);
                }
                return true;
            });
        } else {
            reader.skipValue();
        }
        reader.endLine();
    } catch (const JsonStreamReader::SyntaxError &error) {
        throw RpcError(RpcError::ParseError, QString::fromUtf8(error.what()));
    }
    if (!isObject) {
        throw RpcError(RpcError::InvalidRequest, QStringLiteral("a mensagem deveria ser um objeto JSON-RPC"));
    }
    // QJsonDocument builds it: a wide object in n log n, where inserting
    // member by member would take n². It reads every text the check lets
    // through, as far as is known; should it still refuse one, that is a
    // parse error too.
    QJsonParseError parseError;
    m_members = QJsonDocument::fromJson(line, &parseError).object();
    if (parseError.error != QJsonParseError::NoError) {
        throw RpcError(RpcError::ParseError, QStringLiteral("JSON inválido: %1").arg(parseError.errorString()));
    }
    // It keeps one member of each name.
    if (m_members.size() != memberCount) {
        throw RpcError(RpcError::InvalidRequest, QStringLiteral("a mensagem repete o nome de um membro"));
    }
    if (idText.startsWith('"') || idText == "null") {
        m_id = m_members.value(QStringLiteral("id"));
    } else if (!idText.isEmpty()) {
        m_id = numberId(idText);
    }
}
