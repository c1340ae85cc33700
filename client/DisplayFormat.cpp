#include "DisplayFormat.h"

#include "DayCount.h"

#include <algorithm>
#include <cmath>

namespace {

struct Picture {
    QString prefix;
    QString suffix;
    bool grouping = false;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
};

bool isPictureChar(QChar c)
{
    return c == u'#' || c == u'0' || c == u',' || c == u'.';
}

Picture parsePicture(const QString &pattern)
{
    Picture picture;
    int begin = 0;
    while (begin < pattern.size() && !isPictureChar(pattern.at(begin))) {
        ++begin;
    }
    int end = begin;
    while (end < pattern.size() && isPictureChar(pattern.at(end))) {
        ++end;
    }
    picture.prefix = pattern.left(begin);
    picture.suffix = pattern.mid(end);
    bool inDecimals = false;
    for (int i = begin; i < end; ++i) {
        const QChar c = pattern.at(i);
        if (c == u'.') {
            inDecimals = true;
        } else if (c == u',') {
            picture.grouping = picture.grouping || !inDecimals;
        } else if (inDecimals) {
            ++picture.maxDecimals;
            picture.minDecimals = c == u'0' ? picture.maxDecimals : picture.minDecimals;
        } else if (c == u'0') {
            ++picture.minIntegerDigits;
        }
    }
    return picture;
}

QString digits(double magnitude, const Picture &picture)
{
    QLocale locale = DisplayFormat::brazilian();
    locale.setNumberOptions(picture.grouping ? QLocale::NumberOptions() : QLocale::OmitGroupSeparator);
    QString text = locale.toString(magnitude, 'f', picture.maxDecimals);
    const QString decimalPoint = locale.decimalPoint();
    if (picture.maxDecimals > picture.minDecimals) {
        // Optional decimals ('#') go when they are trailing zeros.
        int keep = text.size();
        const int point = text.lastIndexOf(decimalPoint);
        const int minimum = point + 1 + picture.minDecimals;
        while (keep > minimum && text.at(keep - 1) == u'0') {
            --keep;
        }
        if (keep == point + 1) {
            keep = point;
        }
        text.truncate(keep);
    }
    const int point = text.indexOf(decimalPoint);
    const int integerDigits = point < 0 ? text.size() : point;
    if (picture.minIntegerDigits == 0 && integerDigits == 1 && text.startsWith(u'0')) {
        text.remove(0, 1);
    } else if (integerDigits < picture.minIntegerDigits) {
        text.prepend(QString(picture.minIntegerDigits - integerDigits, u'0'));
    }
    return text;
}

} // namespace

namespace DisplayFormat {

QLocale brazilian()
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil);
}

QString formatNumber(double value, const QString &pattern)
{
    if (pattern.isEmpty()) {
        QLocale locale = brazilian();
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale.toString(value, 'g', QLocale::FloatingPointShortest);
    }
    const Picture picture = parsePicture(pattern);
    const QString text = digits(std::fabs(value), picture);
    const bool showsDigit = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit() && c != u'0'; });
    const QString sign = value < 0 && showsDigit ? QStringLiteral("-") : QString();
    return picture.prefix + sign + text + picture.suffix;
}

QString formatDateTime(double dayCount, const QString &pattern)
{
    const QDateTime moment = DayCount::toDateTime(dayCount);
    if (!moment.isValid()) {
        return {};
    }
    if (!pattern.isEmpty()) {
        return moment.toString(pattern);
    }
    if (moment.time().msecsSinceStartOfDay() == 0) {
        return moment.toString(QStringLiteral("dd/MM/yyyy"));
    }
    return moment.toString(QStringLiteral("dd/MM/yyyy hh:mm"));
}

} // namespace DisplayFormat
