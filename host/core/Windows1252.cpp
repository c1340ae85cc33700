#include "Windows1252.h"

#include <algorithm>
#include <array>

namespace {

// The characters at 0x80..0x9F, where the code page departs from Latin-1;
// 0 marks the five codes it leaves unassigned.
constexpr std::array<char16_t, 32> highControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char encodeChar(char16_t unicode)
{
    if (unicode < 0x80 || (unicode >= 0xA0 && unicode <= 0xFF)) {
        return char(unicode);
    }
    const auto found = std::find(highControls.begin(), highControls.end(), unicode);
    if (found != highControls.end()) {
        return char(0x80 + (found - highControls.begin()));
    }
    return '?';
}

} // namespace

QByteArray Windows1252::encode(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar character : text) {
        bytes.append(encodeChar(character.unicode()));
    }
    return bytes;
}

int Windows1252::compare(const QString &a, const QString &b)
{
    // QByteArray compares its bytes unsigned, as the 8-bit codes sort.
    return encode(a).compare(encode(b));
}
