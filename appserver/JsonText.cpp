#include "JsonText.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstring>

namespace {

const char hexDigits[] = "0123456789abcdef";

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

bool isContinuation(const unsigned char *s, const unsigned char *end, unsigned char low = 0x80, unsigned char high = 0xbf)
{
    return s < end && *s >= low && *s <= high;
}

// The length of the well-formed UTF-8 sequence that starts at `s` (a byte
// of 0x80 or more), 0 when there is none. U+FFFE and U+FFFF count as
// malformed: SQLite reads them back through UTF-16 as U+FFFD.
int sequenceLength(const unsigned char *s, const unsigned char *end)
{
    const unsigned char lead = *s;
    if (lead >= 0xc2 && lead <= 0xdf) {
        return isContinuation(s + 1, end) ? 2 : 0;
    }
    if (lead >= 0xe0 && lead <= 0xef) {
        // No overlong forms below U+0800, no surrogates.
        const unsigned char low = lead == 0xe0 ? 0xa0 : 0x80;
        const unsigned char high = lead == 0xed ? 0x9f : 0xbf;
        if (!isContinuation(s + 1, end, low, high) || !isContinuation(s + 2, end)) {
            return 0;
        }
        return lead == 0xef && s[1] == 0xbf && s[2] >= 0xbe ? 0 : 3;
    }
    if (lead >= 0xf0 && lead <= 0xf4) {
        // No overlong forms below U+10000, nothing past U+10FFFF.
        const unsigned char low = lead == 0xf0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xf4 ? 0x8f : 0xbf;
        return isContinuation(s + 1, end, low, high) && isContinuation(s + 2, end) && isContinuation(s + 3, end) ? 4 : 0;
    }
    return 0;
}

// Escapes UTF-8 text into a JSON string, in room made for the worst case
// as appendString does. Checking gives up, appending nothing, at the first
// sequence sequenceLength() refuses; unchecked, bytes of 0x80 and more are
// copied as they are (for text that Qt has just encoded).
bool appendEscapedUtf8(QByteArray &out, QByteArrayView utf8, bool checked)
{
    const qsizetype start = out.size();
    out.resize(start + 2 + 6 * utf8.size());
    char *const begin = out.data() + start;
    char *p = begin;
    *p++ = '"';
    const auto *s = reinterpret_cast<const unsigned char *>(utf8.data());
    const auto *const end = s + utf8.size();
    while (s < end) {
        const unsigned char byte = *s;
        if (byte < 0x80) {
            if (byte >= 0x20 && byte != '"' && byte != '\\') {
                *p++ = char(byte);
            } else {
                p = escapeControl(p, byte);
            }
            ++s;
            continue;
        }
        const int length = checked ? sequenceLength(s, end) : 1;
        if (length == 0) {
            out.resize(start);
            return false;
        }
        std::memcpy(p, s, size_t(length));
        p += length;
        s += length;
    }
    *p++ = '"';
    out.resize(start + (p - begin));
    return true;
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
            appendEscapedUtf8(out, text.toUtf8(), false);
            return;
        }
    }
    *p++ = '"';
    out.resize(start + (p - begin));
}

bool appendUtf8(QByteArray &out, QByteArrayView utf8)
{
    return appendEscapedUtf8(out, utf8, true);
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
