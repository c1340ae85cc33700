#include "FieldText.h"

#include "DayCount.h"
#include "DisplayFormat.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

[[noreturn]] void refuse(const QString &text, const QString &kind)
{
    throw std::runtime_error(QStringLiteral("\"%1\" não é %2 válido.").arg(text, kind).toStdString());
}

bool hasDigit(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

double parseNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double number = DisplayFormat::brazilian().toDouble(trimmed, &ok);
    if (!ok) {
        number = QLocale::c().toDouble(trimmed, &ok);
    }
    if (!ok || !std::isfinite(number)) {
        refuse(text, QStringLiteral("um número"));
    }
    return number;
}

double parseDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const QString &format : {QStringLiteral("dd/MM/yyyy"), QStringLiteral("dd/MM/yyyy hh:mm"),
                                  QStringLiteral("dd/MM/yyyy hh:mm:ss")}) {
        const QDateTime moment = QDateTime::fromString(trimmed, format);
        if (moment.isValid()) {
            return DayCount::fromDateTime(moment);
        }
    }
    refuse(text, QStringLiteral("uma data"));
}

} // namespace

namespace FieldText {

QVariant coerce(const QVariant &value, FieldType type)
{
    if (!value.isValid()) {
        return {};
    }
    const int kind = value.metaType().id();
    switch (type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Blob:
        return kind == QMetaType::QString ? value.toString().toUtf8() : value.toByteArray();
    case FieldType::Integer: {
        if (kind == QMetaType::QString) {
            return parse(value.toString(), type);
        }
        if (kind == QMetaType::Double || kind == QMetaType::Float) {
            return static_cast<qint64>(std::llround(value.toDouble()));
        }
        bool ok = false;
        const qint64 integer = value.toLongLong(&ok);
        if (!ok) {
            refuse(value.toString(), QStringLiteral("um inteiro"));
        }
        return integer;
    }
    case FieldType::Float:
    case FieldType::DateTime: {
        if (kind == QMetaType::QString) {
            return parse(value.toString(), type);
        }
        if (kind == QMetaType::QDate) {
            return DayCount::fromDate(value.toDate());
        }
        if (kind == QMetaType::QDateTime) {
            return DayCount::fromDateTime(value.toDateTime());
        }
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok || !std::isfinite(number)) {
            refuse(value.toString(), QStringLiteral("um número"));
        }
        return number;
    }
    }
    return {};
}

QString editText(const QVariant &value, FieldType type)
{
    if (!value.isValid()) {
        return {};
    }
    switch (type) {
    case FieldType::Text:
        return value.toString();
    case FieldType::Blob:
        return QString::fromUtf8(value.toByteArray());
    case FieldType::Integer:
        return QString::number(value.toLongLong());
    case FieldType::Float:
        return DisplayFormat::formatNumber(value.toDouble(), QString());
    case FieldType::DateTime: {
        const QDateTime moment = DayCount::toDateTime(value.toDouble());
        if (!moment.isValid()) {
            return {};
        }
        return moment.toString(moment.time().msecsSinceStartOfDay() == 0 ? QStringLiteral("dd/MM/yyyy")
                                                                         : QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    }
    }
    return {};
}

QString displayText(const QVariant &value, FieldType type, const QString &format)
{
    if (!value.isValid()) {
        return {};
    }
    switch (type) {
    case FieldType::Float:
        return DisplayFormat::formatNumber(value.toDouble(), format);
    case FieldType::Integer:
        return format.isEmpty() ? editText(value, type)
                                : DisplayFormat::formatNumber(static_cast<double>(value.toLongLong()), format);
    case FieldType::DateTime:
        return DisplayFormat::formatDateTime(value.toDouble(), format);
    case FieldType::Text:
    case FieldType::Blob:
        break;
    }
    return editText(value, type);
}

QVariant parse(const QString &text, FieldType type)
{
    switch (type) {
    case FieldType::Text:
        return text;
    case FieldType::Blob:
        return text.toUtf8();
    case FieldType::Integer: {
        if (text.trimmed().isEmpty()) {
            return {};
        }
        bool ok = false;
        const qint64 integer = text.trimmed().toLongLong(&ok);
        if (!ok) {
            refuse(text, QStringLiteral("um inteiro"));
        }
        return integer;
    }
    case FieldType::Float:
        if (text.trimmed().isEmpty()) {
            return {};
        }
        return parseNumber(text);
    case FieldType::DateTime:
        if (!hasDigit(text)) {
            return {};
        }
        return parseDate(text);
    }
    return {};
}

double toNumber(const QVariant &value, FieldType type)
{
    if (!value.isValid()) {
        return 0.0;
    }
    switch (type) {
    case FieldType::Text:
    case FieldType::Blob: {
        const QVariant parsed = parse(editText(value, type), FieldType::Float);
        return parsed.isValid() ? parsed.toDouble() : 0.0;
    }
    case FieldType::Integer:
        return static_cast<double>(value.toLongLong());
    case FieldType::Float:
    case FieldType::DateTime:
        break;
    }
    return value.toDouble();
}

} // namespace FieldText
