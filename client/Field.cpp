#include "Field.h"

#include "FieldText.h"
#include "InputMask.h"
#include "RecordList.h"

#include <cmath>
#include <stdexcept>

namespace {

template<typename Convert>
auto converted(const Field &field, Convert convert)
{
    try {
        return convert();
    } catch (const std::runtime_error &error) {
        throw std::runtime_error(
            QStringLiteral("Campo %1: %2").arg(field.name(), QString::fromUtf8(error.what())).toStdString());
    }
}

} // namespace

Field::Field(RecordList &list, int index, const FieldDef &definition)
    : m_list(list), m_index(index), m_definition(definition)
{
}

QString Field::displayLabel() const
{
    return m_displayLabel.isEmpty() ? m_definition.name : m_displayLabel;
}

int Field::displayWidth() const
{
    return m_displayWidth > 0 ? m_displayWidth : m_definition.size;
}

QVariant Field::value() const
{
    return m_list.activeValue(m_index);
}

QVariant Field::oldValue() const
{
    return m_list.activeOldValue(m_index);
}

void Field::setValue(const QVariant &value)
{
    m_list.writeActiveValue(*this, value);
}

bool Field::isNull() const
{
    return !value().isValid();
}

void Field::clear()
{
    setValue(QVariant());
}

QString Field::asString() const
{
    return FieldText::editText(value(), type());
}

void Field::setAsString(const QString &text)
{
    setValue(converted(*this, [&] { return FieldText::parse(text, type()); }));
}

double Field::asFloat() const
{
    return converted(*this, [&] { return FieldText::toNumber(value(), type()); });
}

void Field::setAsFloat(double value)
{
    setValue(value);
}

qint64 Field::asInteger() const
{
    if (type() == FieldType::Integer) {
        return value().toLongLong();
    }
    return std::llround(asFloat());
}

void Field::setAsInteger(qint64 value)
{
    setValue(value);
}

double Field::asDateTime() const
{
    if (type() == FieldType::Text) {
        return converted(*this, [&] { return FieldText::parse(asString(), FieldType::DateTime).toDouble(); });
    }
    return asFloat();
}

void Field::setAsDateTime(double dayCount)
{
    // Day 0 is the empty date.
    setValue(dayCount == 0.0 ? QVariant() : QVariant(dayCount));
}

QString Field::displayText() const
{
    return m_onGetText ? m_onGetText(*this, true) : formattedValue(true);
}

QString Field::text() const
{
    return m_onGetText ? m_onGetText(*this, false) : formattedValue(false);
}

void Field::setText(const QString &text)
{
    if (m_onSetText) {
        m_onSetText(*this, text);
        return;
    }
    setAsString(text);
}

bool Field::showsStoredText() const
{
    return type() == FieldType::Text && !m_onGetText && !masksDisplay();
}

bool Field::masksDisplay() const
{
    // A code kept raw (a product code, a registration number) is shown the
    // way its masked edit would show it.
    return type() == FieldType::Text && !m_editMask.isEmpty() && m_displayFormat.isEmpty();
}

QString Field::formattedValue(bool displayText) const
{
    if (!displayText) {
        return asString();
    }
    if (masksDisplay()) {
        return InputMask::format(m_editMask, asString());
    }
    return FieldText::displayText(value(), type(), m_displayFormat);
}
