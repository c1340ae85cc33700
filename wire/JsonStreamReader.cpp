#include "JsonStreamReader.h"

#include <QJsonArray>
#include <QString>

#include <charconv>
#include <cmath>

namespace {

// Deeper nesting than any message of the protocol has is refused before it
// can exhaust the stack.
constexpr int maxDepth = 256;
// Read bytes are let go of in steps of at least this much, so that moving
// the unread rest to the front of the buffer stays rare.
constexpr qsizetype discardAtLeast = 256 * 1024;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool mayBePartOfNumber(char c)
{
    return isDigit(c) || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

// JSON's number grammar: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(const char *text, qsizetype length, bool *integral)
{
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < length && isDigit(text[i])) {
            ++i;
        }
        return i > from;
    };
    if (i < length && text[i] == '-') {
        ++i;
    }
    if (i < length && text[i] == '0') {
        ++i;
    } else if (!digits()) {
        return false;
    }
    *integral = true;
    if (i < length && text[i] == '.') {
        ++i;
        *integral = false;
        if (!digits()) {
            return false;
        }
    }
    if (i < length && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        *integral = false;
        if (i < length && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (!digits()) {
            return false;
        }
    }
    return i == length;
}

void appendUtf8(QByteArray &out, uint code)
{
    if (code < 0x80) {
        out.append(char(code));
    } else if (code < 0x800) {
        out.append(char(0xC0 | (code >> 6)));
        out.append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(char(0xE0 | (code >> 12)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    } else {
        out.append(char(0xF0 | (code >> 18)));
        out.append(char(0x80 | ((code >> 12) & 0x3F)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    }
}

bool isHighSurrogate(uint code)
{
    return code >= 0xD800 && code < 0xDC00;
}

bool isLowSurrogate(uint code)
{
    return code >= 0xDC00 && code < 0xE000;
}

} // namespace

JsonStreamReader::JsonStreamReader(QByteArray pending, Refill refill)
    : m_buffer(std::move(pending)), m_refill(std::move(refill))
{
}

void JsonStreamReader::fail(const QString &what) const
{
    throw SyntaxError(QStringLiteral("JSON inválido no byte %1: %2").arg(m_discarded + m_pos).arg(what).toStdString());
}

void JsonStreamReader::more()
{
    const qsizetype before = m_buffer.size();
    if (!m_refill || !m_refill(m_buffer) || m_buffer.size() == before) {
        fail(QStringLiteral("o texto terminou no meio de um valor"));
    }
}

char JsonStreamReader::peek()
{
    for (;;) {
        const char *data = m_buffer.constData();
        const qsizetype end = m_buffer.size();
        while (m_pos < end) {
            if (!isSpace(data[m_pos])) {
                return data[m_pos];
            }
            ++m_pos;
        }
        more();
    }
}

bool JsonStreamReader::consume(char expected)
{
    if (peek() != expected) {
        return false;
    }
    ++m_pos;
    return true;
}

void JsonStreamReader::expect(char expected)
{
    if (!consume(expected)) {
        fail(QStringLiteral("esperava '%1'").arg(QLatin1Char(expected)));
    }
}

QJsonValue JsonStreamReader::readValue()
{
    const char next = peek();
    switch (next) {
    case '{':
        return readObject();
    case '[':
        return readArray();
    case '"':
        return QString::fromUtf8(readString());
    case 't':
        readLiteral("true");
        return true;
    case 'f':
        readLiteral("false");
        return false;
    case 'n':
        readNull();
        return QJsonValue(QJsonValue::Null);
    default:
        break;
    }
    if (next != '-' && !isDigit(next)) {
        fail(QStringLiteral("esperava um valor"));
    }
    const Number number = readNumber();
    return number.isInteger ? QJsonValue(number.integer) : QJsonValue(number.value);
}

template<typename ReadMember>
void JsonStreamReader::readMembers(ReadMember readMember)
{
    expect('{');
    if (++m_depth > maxDepth) {
        fail(QStringLiteral("aninhamento profundo demais"));
    }
    if (!consume('}')) {
        do {
            if (peek() != '"') {
                fail(QStringLiteral("esperava o nome de um membro"));
            }
            readMember(readString());
        } while (consume(','));
        expect('}');
    }
    --m_depth;
}

QJsonObject JsonStreamReader::readObject(const MemberReader &readMember)
{
    QJsonObject object;
    readMembers([&](QByteArrayView name) {
        const QString key = QString::fromUtf8(name);
        expect(':');
        if (!readMember || !readMember(key, object)) {
            object.insert(key, readValue());
        }
    });
    return object;
}

template<typename ReadElement>
void JsonStreamReader::readElements(ReadElement readElement)
{
    expect('[');
    if (++m_depth > maxDepth) {
        fail(QStringLiteral("aninhamento profundo demais"));
    }
    if (!consume(']')) {
        do {
            readElement();
        } while (consume(','));
        expect(']');
    }
    --m_depth;
}

QJsonValue JsonStreamReader::readArray()
{
    QJsonArray array;
    readElements([&] { array.append(readValue()); });
    return array;
}

void JsonStreamReader::skipValue()
{
    switch (peek()) {
    case '{':
        readMembers([this](QByteArrayView) {
            expect(':');
            skipValue();
        });
        break;
    case '[':
        readElements([this] { skipValue(); });
        break;
    case '"':
        readString();
        break;
    default:
        readValue(); // a number or a literal: nothing large to build
    }
}

QByteArrayView JsonStreamReader::readString()
{
    expect('"');
    const qsizetype start = m_pos;
    qsizetype at = start;
    for (;;) {
        const char *data = m_buffer.constData();
        const qsizetype end = m_buffer.size();
        for (; at < end; ++at) {
            const auto c = static_cast<unsigned char>(data[at]);
            if (c == '"') {
                m_pos = at + 1;
                return QByteArrayView(data + start, at - start);
            }
            if (c == '\\') {
                return readEscapedString(start, at);
            }
            if (c < 0x20) {
                m_pos = at;
                fail(QStringLiteral("caractere de controle dentro de um texto"));
            }
            if (c >= 0x80) {
                break;
            }
        }
        if (at < end) {
            at = afterUtf8Sequence(at);
        } else {
            more();
        }
    }
}

QByteArrayView JsonStreamReader::readEscapedString(qsizetype start, qsizetype escape)
{
    m_unescaped.clear();
    m_unescaped.append(m_buffer.constData() + start, escape - start);
    qsizetype at = escape;
    for (;;) {
        while (at >= m_buffer.size()) {
            more();
        }
        const auto c = static_cast<unsigned char>(m_buffer.at(at));
        if (c == '"') {
            m_pos = at + 1;
            return m_unescaped;
        }
        if (c < 0x20) {
            m_pos = at;
            fail(QStringLiteral("caractere de controle dentro de um texto"));
        }
        if (c == '\\') {
            appendEscape(at);
        } else if (c >= 0x80) {
            const qsizetype next = afterUtf8Sequence(at);
            m_unescaped.append(m_buffer.constData() + at, next - at);
            at = next;
        } else {
            m_unescaped.append(char(c));
            ++at;
        }
    }
}

qsizetype JsonStreamReader::afterUtf8Sequence(qsizetype at)
{
    // The well-formed sequences of the Unicode standard: no overlong form,
    // no surrogate, nothing past U+10FFFF.
    const auto lead = static_cast<unsigned char>(m_buffer.at(at));
    const int length = (lead >= 0xC2 && lead <= 0xDF) ? 2 : (lead >= 0xE0 && lead <= 0xEF) ? 3 : (lead >= 0xF0 && lead <= 0xF4) ? 4 : 0;
    bool wellFormed = length > 0;
    if (wellFormed) {
        while (at + length > m_buffer.size()) {
            more();
        }
        const auto second = static_cast<unsigned char>(m_buffer.at(at + 1));
        const unsigned char lowest = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char highest = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        wellFormed = second >= lowest && second <= highest;
        for (int i = 2; wellFormed && i < length; ++i) {
            const auto next = static_cast<unsigned char>(m_buffer.at(at + i));
            wellFormed = next >= 0x80 && next <= 0xBF;
        }
    }
    if (!wellFormed) {
        m_pos = at;
        fail(QStringLiteral("UTF-8 mal formado dentro de um texto"));
    }
    return at + length;
}

void JsonStreamReader::appendEscape(qsizetype &at)
{
    while (at + 1 >= m_buffer.size()) {
        more();
    }
    const char kind = m_buffer.at(at + 1);
    static constexpr char simple[][2] = {{'"', '"'}, {'\\', '\\'}, {'/', '/'}, {'b', '\b'},
                                         {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'}};
    for (const auto &[escaped, meant] : simple) {
        if (kind == escaped) {
            m_unescaped.append(meant);
            at += 2;
            return;
        }
    }
    if (kind != 'u') {
        m_pos = at;
        fail(QStringLiteral("sequência de escape desconhecida"));
    }
    uint code = readHex4(at + 2);
    at += 6;
    if (isHighSurrogate(code)) {
        // Its low half, if any, follows at once; the text may also end
        // right after it, its closing quote the last byte there is.
        while (at >= m_buffer.size() || (m_buffer.at(at) == '\\' && at + 1 >= m_buffer.size())) {
            more();
        }
        if (m_buffer.at(at) == '\\' && m_buffer.at(at + 1) == 'u') {
            const uint low = readHex4(at + 2);
            if (isLowSurrogate(low)) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 6;
            }
        }
    }
    // A surrogate without its pair stands for no character.
    appendUtf8(m_unescaped, isHighSurrogate(code) || isLowSurrogate(code) ? 0xFFFD : code);
}

uint JsonStreamReader::readHex4(qsizetype at)
{
    while (at + 4 > m_buffer.size()) {
        more();
    }
    uint code = 0;
    for (qsizetype i = at; i < at + 4; ++i) {
        const char c = m_buffer.at(i);
        const int digit = isDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
        if (digit < 0) {
            m_pos = i;
            fail(QStringLiteral("\\u sem quatro dígitos hexadecimais"));
        }
        code = code * 16 + uint(digit);
    }
    return code;
}

JsonStreamReader::Number JsonStreamReader::readNumber()
{
    peek();
    const qsizetype start = m_pos;
    qsizetype at = start;
    // A number has no end mark: it goes on while its bytes do, so one cut by
    // a read waits for the next before it is parsed.
    for (;;) {
        while (at < m_buffer.size() && mayBePartOfNumber(m_buffer.at(at))) {
            ++at;
        }
        if (at < m_buffer.size()) {
            break;
        }
        more();
    }
    const char *text = m_buffer.constData() + start;
    const qsizetype length = at - start;
    bool integral = false;
    if (!isJsonNumber(text, length, &integral)) {
        fail(QStringLiteral("número mal escrito"));
    }
    Number number;
    if (integral) {
        const auto [end, error] = std::from_chars(text, text + length, number.integer);
        number.isInteger = error == std::errc() && end == text + length;
    }
    if (number.isInteger) {
        number.value = double(number.integer);
    } else {
        const auto [end, error] = std::from_chars(text, text + length, number.value);
        if (error != std::errc() || end != text + length || !std::isfinite(number.value)) {
            fail(QStringLiteral("número fora do intervalo de um double"));
        }
    }
    m_pos = at;
    return number;
}

void JsonStreamReader::readNull()
{
    readLiteral("null");
}

void JsonStreamReader::readLiteral(QByteArrayView word)
{
    peek();
    while (m_pos + word.size() > m_buffer.size()) {
        more();
    }
    if (QByteArrayView(m_buffer.constData() + m_pos, word.size()) != word) {
        fail(QStringLiteral("esperava um valor"));
    }
    m_pos += word.size();
}

void JsonStreamReader::discardConsumed()
{
    if (m_pos < discardAtLeast) {
        return;
    }
    m_buffer.remove(0, m_pos);
    m_discarded += m_pos;
    m_pos = 0;
}

void JsonStreamReader::endLine()
{
    for (;;) {
        while (m_pos < m_buffer.size()) {
            const char c = m_buffer.at(m_pos++);
            if (c == '\n') {
                return;
            }
            if (c != ' ' && c != '\t' && c != '\r') {
                --m_pos;
                fail(QStringLiteral("esperava o fim da linha"));
            }
        }
        more();
    }
}

QByteArray JsonStreamReader::takeUnread()
{
    QByteArray unread = m_buffer.mid(m_pos);
    m_buffer.clear();
    m_pos = 0;
    return unread;
}
