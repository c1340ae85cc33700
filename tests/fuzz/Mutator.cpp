#include "Mutator.h"

#include <array>
#include <utility>

namespace {

// Bytes that change how JSON or a line is read.
constexpr std::array<char, 22> specialBytes = {'"', '\\', '{', '}', '[', ']', ',', ':', '\n', '\r', '\t', ' ',
                                               '\0', '-', '.', 'e', '0', '9', 'u', '\x7f', '\xc3', '\xff'};

// Tokens of JSON and of the protocol, and texts at the edges of what they
// may hold.
const QList<QByteArray> &tokens()
{
    static const QList<QByteArray> list = {
        "null", "true", "false", "\"\"", "{}", "[]", "[null]", "{\"\":null}", "\"\\u0000\"", "\"\\ud800\"",
        "\"\\udc00\\ud800\"", "\"\\ud83d\\ude00\"", "\"\\uFFFE\"", "\"\xc3\x28\"", "\"\xed\xa0\x80\"", "\"\xf4\x90\x80\x80\"", "\"\xef\xbf\xbe\"", "\"\xc0\xaf\"",
        "\"\xe0\x80\xaf\"", "\"\xf0\x8f\xbf\xbf\"", "\"\xf4\x8f\xbf\xbf\"",
        "\"jsonrpc\"", "\"2.0\"", "\"id\"", "\"method\"", "\"params\"", "\"fields\"", "\"rows\"", "\"changes\"",
        "\"op\"", "\"insert\"", "\"update\"", "\"delete\"", "\"old\"", "\"new\"", "\"name\"", "\"type\"", "\"size\"",
        "\"text\"", "\"float\"", "\"integer\"", "\"datetime\"", "\"blob\"", "\"connect\"", "\"GetOrcamento\"",
        "\"GetItemOrc\"", "\"GetMotivo\"", "\"GetParamOrca\"", "\"SetOrcamento\"", "\"SetObs\"",
        "\"setAgendaSalao\"", "\"getSituAnterior\"", "\"getVerifSalao\"", "\"SetAnterior\"", "\"getBloqueioSalao\"", "\"GetHistorico\"",
        "\"CXL04100.rdmCancelamento\"", "\"T\"", "\"0001\"", "\"0000000002\"", "\"01\"", "\"1_2_8_9\"", "\"_\"",
        "\"%\"", "\"\\\\\"", "\"'\"", "\"A\"", "\"R\"", "\"C\"", "\"8\"", "\"9\"", "\"MSOUZA\"", "\"IDSITUORCEVE\"",
        "\"CDJUSTEXCHIS\"", "\"CDOPEJUSTORC\"", "\"TXOBSJUSTORC\"", "\"SnVzdGlmaWNhdGl2YQ==\"", "\"====\"",
    };
    return list;
}

// Numbers at the edges of what JSON, a double and a 64-bit integer hold.
const QList<QByteArray> &extremeNumbers()
{
    static const QList<QByteArray> list = {
        "0", "-0", "-0.0", "1", "-1", "0.5", "1e0", "1E+2", "2.0", "9007199254740993", "-9007199254740993",
        "9223372036854775807", "9223372036854775808", "-9223372036854775808", "-9223372036854775809",
        "18446744073709551616", "1.7976931348623157e308", "-1.7976931348623157e308", "1.7976931348623159e308",
        "1e309", "-1e309", "1e400", "5e-324", "2e-324", "1e-400", "4294967295", "4294967296", "2147483647",
        "2147483648", "-2147483649", "46314.5", "2958465.99999999", "-693594", "1e2147483648", "01", "1.", ".5",
        "-", "1e", "+1", "NaN", "Infinity", "0x10", "100000000000000000000000000000000000000000000000000000000000",
    };
    return list;
}

bool isNumberByte(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

} // namespace

Mutator::Mutator(quint64 seedValue, QList<QByteArray> seeds, qsizetype maxLength)
    : m_random(seedValue), m_seeds(std::move(seeds)), m_maxLength(maxLength)
{
    if (m_seeds.isEmpty()) {
        m_seeds.append(QByteArray("{}"));
    }
}

qsizetype Mutator::below(qsizetype bound)
{
    // Plain modulo rather than a distribution, whose results differ between
    // standard libraries: the same seed value gives the same inputs with any.
    return bound <= 0 ? 0 : qsizetype(m_random() % quint64(bound));
}

bool Mutator::oneIn(int chances)
{
    return below(chances) == 0;
}

qsizetype Mutator::position(const QByteArray &input)
{
    return below(input.size() + 1);
}

qsizetype Mutator::spanLength(qsizetype limit)
{
    const qsizetype scale = oneIn(8) ? limit : oneIn(4) ? 256 : 16;
    return 1 + below(qMin(scale, limit));
}

QByteArray Mutator::next()
{
    QByteArray input = !m_previous.isEmpty() && oneIn(4) ? m_previous : m_seeds.at(below(m_seeds.size()));
    const int changes = 1 + int(below(4));
    for (int i = 0; i < changes; ++i) {
        mutate(input);
    }
    if (input.size() > m_maxLength) {
        input.truncate(m_maxLength);
    }
    m_previous = input;
    return input;
}

void Mutator::mutate(QByteArray &input)
{
    switch (below(13)) {
    case 0:
        return flipBit(input);
    case 1:
        return setByte(input);
    case 2:
        return insertBytes(input);
    case 3:
        return deleteRange(input);
    case 4:
        return copyRange(input);
    case 5:
        return splice(input);
    case 6:
    case 7:
        return insertToken(input);
    case 8:
    case 9:
        return extremeNumber(input);
    case 10:
        return deepNesting(input);
    case 11:
        return hugeString(input);
    default:
        return truncate(input);
    }
}

void Mutator::flipBit(QByteArray &input)
{
    if (!input.isEmpty()) {
        input[below(input.size())] ^= char(1 << below(8));
    }
}

void Mutator::setByte(QByteArray &input)
{
    if (!input.isEmpty()) {
        input[below(input.size())] = oneIn(2) ? specialBytes.at(size_t(below(qsizetype(specialBytes.size())))) : char(below(256));
    }
}

void Mutator::insertBytes(QByteArray &input)
{
    QByteArray bytes;
    for (qsizetype count = 1 + below(8); count > 0; --count) {
        bytes += oneIn(2) ? specialBytes.at(size_t(below(qsizetype(specialBytes.size())))) : char(below(256));
    }
    input.insert(position(input), bytes);
}

void Mutator::deleteRange(QByteArray &input)
{
    const qsizetype from = below(input.size());
    input.remove(from, spanLength(input.size() - from));
}

void Mutator::copyRange(QByteArray &input)
{
    if (input.isEmpty()) {
        return;
    }
    const qsizetype from = below(input.size());
    const QByteArray range = input.mid(from, spanLength(input.size() - from));
    input.insert(position(input), range);
}

void Mutator::splice(QByteArray &input)
{
    const QByteArray &other = m_seeds.at(below(m_seeds.size()));
    if (other.isEmpty()) {
        return;
    }
    const qsizetype from = below(other.size());
    const QByteArray range = other.mid(from, spanLength(other.size() - from));
    const qsizetype at = position(input);
    if (oneIn(2)) {
        input.insert(at, range);
    } else {
        input.replace(at, range.size(), range);
    }
}

void Mutator::insertToken(QByteArray &input)
{
    const QByteArray &token = tokens().at(below(tokens().size()));
    const qsizetype at = position(input);
    if (oneIn(2)) {
        input.insert(at, token);
    } else {
        input.replace(at, below(token.size() + 1), token);
    }
}

void Mutator::extremeNumber(QByteArray &input)
{
    // The number at or after a random place, or a new one there when none.
    qsizetype start = position(input);
    while (start < input.size() && !(input.at(start) >= '0' && input.at(start) <= '9')) {
        ++start;
    }
    while (start > 0 && isNumberByte(input.at(start - 1))) {
        --start;
    }
    qsizetype end = start;
    while (end < input.size() && isNumberByte(input.at(end))) {
        ++end;
    }
    input.replace(start, end - start, extremeNumbers().at(below(extremeNumbers().size())));
}

void Mutator::deepNesting(QByteArray &input)
{
    // Mostly well formed (a value wrapped in arrays or objects), now and
    // then left open; as deep as a parser's stack could not take.
    const qsizetype depth = oneIn(2) ? 1 + below(300) : 1 + below(200000);
    const bool objects = oneIn(3);
    const QByteArray open = objects ? QByteArray("{\"a\":") : QByteArray("[");
    const QByteArray close = objects ? QByteArray("}") : QByteArray("]");
    const qsizetype from = position(input);
    const qsizetype to = from + below(input.size() - from + 1);
    if (!oneIn(4)) {
        input.insert(to, close.repeated(depth));
    }
    input.insert(from, open.repeated(depth));
}

void Mutator::hugeString(QByteArray &input)
{
    static const QList<QByteArray> units = {"x", "\xc3\xa7", "\xf0\x9f\x98\x80", "\\n", "\\u00e7", "\\ud83d\\ude00",
                                            "\\ud800", "\\\\", "%", "_"};
    const QByteArray &unit = units.at(below(units.size()));
    const qsizetype room = qMax<qsizetype>(m_maxLength - input.size(), 0) / unit.size();
    const QByteArray text = unit.repeated(qMax<qsizetype>(1, qMin(room, spanLength(qMax<qsizetype>(room, 1)) * 64)));
    const qsizetype at = position(input);
    if (oneIn(2)) {
        input.insert(at, '"' + text + '"');
    } else {
        input.insert(at, text);
    }
}

void Mutator::truncate(QByteArray &input)
{
    input.truncate(position(input));
}
