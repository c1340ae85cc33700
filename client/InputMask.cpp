#include "InputMask.h"

namespace {

bool isInputSlot(QChar maskChar)
{
    return QStringLiteral("AaNnXx90Dd#HhBb").contains(maskChar);
}

} // namespace

QString InputMask::format(const QString &mask, const QString &raw)
{
    if (mask.isEmpty()) {
        return raw;
    }
    // As in the masked edit, the first semicolon ends the mask and the
    // character after it is only the blank shown for empty places.
    const QString pattern = mask.section(QLatin1Char(';'), 0, 0);
    enum class CaseMode { Keep, Upper, Lower } mode = CaseMode::Keep;
    QString shown;
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size() && next < raw.size(); ++i) {
        QChar maskChar = pattern.at(i);
        const bool escaped = maskChar == QLatin1Char('\\') && i + 1 < pattern.size();
        if (escaped) {
            maskChar = pattern.at(++i);
        } else if (maskChar == QLatin1Char('>')) {
            mode = CaseMode::Upper;
            continue;
        } else if (maskChar == QLatin1Char('<')) {
            mode = CaseMode::Lower;
            continue;
        } else if (maskChar == QLatin1Char('!')) {
            mode = CaseMode::Keep;
            continue;
        }
        if (!escaped && isInputSlot(maskChar)) {
            const QChar typed = raw.at(next++);
            shown += mode == CaseMode::Upper   ? typed.toUpper()
                     : mode == CaseMode::Lower ? typed.toLower()
                                               : typed;
            continue;
        }
        if (raw.at(next) == maskChar) {
            ++next;
        }
        shown += maskChar;
    }
    return shown;
}
