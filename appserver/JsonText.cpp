#include "JsonText.h"

#include <QLocale>

#include <cmath>

namespace JsonText {

void appendString(QByteArray &out, const QString &text)
{
    static const char hex[] = "0123456789abcdef";
    const QByteArray utf8 = text.toUtf8();
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
            out.append("\\u00").append(hex[byte >> 4]).append(hex[byte & 0xf]);
        }
    }
    out.append(utf8.constData() + runStart, utf8.size() - runStart);
    out.append('"');
}

void appendNumber(QByteArray &out, double value)
{
    if (!std::isfinite(value)) {
        out.append("null");
    } else if (value == std::floor(value) && std::fabs(value) <= 9007199254740992.0) {
        out.append(QByteArray::number(qint64(value)));
    } else {
        out.append(QByteArray::number(value, 'g', QLocale::FloatingPointShortest));
    }
}

} // namespace JsonText
