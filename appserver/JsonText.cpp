#include "JsonText.h"

#include <QLocale>

#include <charconv>
#include <cmath>

namespace {

const char hexDigits[] = "0123456789abcdef";

// Escapes already encoded UTF-8: the path for text holding surrogates, whose
// encoding is left to Qt so that a broken pair comes out as Qt writes it.
void appendEscapedUtf8(QByteArray &out, const QByteArray &utf8)
{
    out.append('"');
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8.at(i));
        if (byte >= 0x20 && byte != '"' && byte != '\\') {
            continue;
        }
        out.append(utf8.constData() + runStart, i - runStart);
        runStart = i + 1;
        if (byte == '"' || byte == '\\') {
            out.append('\\').append(char(byte));
        } else if (byte == '\n') {
            out.append("\\n");
        } else if (byte == '\r') {
            out.append("\\r");
        } else if (byte == '\t') {
            out.append("\\t");
        } else {
            out.append("\\u00").append(hexDigits[byte >> 4]).append(hexDigits[byte & 0xf]);
        }
    }
    out.append(utf8.constData() + runStart, utf8.size() - runStart);
    out.append('"');
}

char *escapeControl(char *p, char16_t unit)
{
    *p++ = '\\';
    switch (unit) {
    case '"':
    case '\\':
        *p++ = char(unit);
        break;
    case '\n':
        *p++ = 'n';
        break;
    case '\r':
        *p++ = 'r';
        break;
    case '\t':
        *p++ = 't';
        break;
    default:
        *p++ = 'u';
        *p++ = '0';
        *p++ = '0';
        *p++ = hexDigits[unit >> 4];
        *p++ = hexDigits[unit & 0xf];
        break;
    }
    return p;
}

} // namespace

namespace JsonText {

void appendString(QByteArray &out, QStringView text)
{
    // A quote list is millions of short values: each is encoded in place in
    // room made for the worst case (six bytes per unit, a \u00XX escape),
    // instead of going through a converted copy.
    const qsizetype start = out.size();
    out.resize(start + 2 + 6 * text.size());
    char *const begin = out.data() + start;
    char *p = begin;
    *p++ = '"';
    for (const QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit < 0x80) {
            if (unit >= 0x20 && unit != '"' && unit != '\\') {
                *p++ = char(unit);
            } else {
                p = escapeControl(p, unit);
            }
        } else if (unit < 0x800) {
            *p++ = char(0xc0 | (unit >> 6));
            *p++ = char(0x80 | (unit & 0x3f));
        } else if (!character.isSurrogate()) {
            *p++ = char(0xe0 | (unit >> 12));
            *p++ = char(0x80 | ((unit >> 6) & 0x3f));
            *p++ = char(0x80 | (unit & 0x3f));
        } else {
            out.resize(start);
            appendEscapedUtf8(out, text.toUtf8());
            return;
        }
    }
    *p++ = '"';
    out.resize(start + (p - begin));
}

void appendInteger(QByteArray &out, qint64 value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, result.ptr - digits);
}

void appendNumber(QByteArray &out, double value)
{
    if (!std::isfinite(value)) {
        out.append("null");
    } else if (value == std::floor(value) && std::fabs(value) <= 9007199254740992.0) {
        appendInteger(out, qint64(value));
    } else if (std::fabs(value) >= 1e-3 && std::fabs(value) < 1e15) {
        // In this range Qt's shortest form never takes an exponent, so the
        // standard library's shortest fixed form is the same text, faster.
        char digits[40];
        const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
        out.append(digits, result.ptr - digits);
    } else {
        out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    }
}

} // namespace JsonText
