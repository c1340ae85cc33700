#include "Column.h"

#include <QString>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr double emptyNumber = std::numeric_limits<double>::quiet_NaN();
// Rewritten values leave their old bytes behind; below this they are not
// worth a copy of the buffer.
constexpr qsizetype reclaimAtLeast = 64 * 1024;

} // namespace

Column::Column(FieldType type)
    : m_type(type)
{
}

QVariant Column::value(qsizetype row) const
{
    Q_ASSERT(row >= 0 && row < m_size);
    switch (m_type) {
    case FieldType::Text:
    case FieldType::Blob: {
        const Span span = m_spans[size_t(row)];
        if (span.length == nullLength) {
            return {};
        }
        const char *bytes = m_bytes.constData() + span.offset;
        if (m_type == FieldType::Blob) {
            return QByteArray(bytes, span.length);
        }
        return QString::fromUtf8(bytes, span.length);
    }
    case FieldType::Float:
    case FieldType::DateTime: {
        const double number = m_numbers[size_t(row)];
        return std::isnan(number) ? QVariant() : QVariant(number);
    }
    case FieldType::Integer:
        return m_integerNull[size_t(row)] ? QVariant() : QVariant(m_integers[size_t(row)]);
    }
    return {};
}

QByteArrayView Column::bytes(qsizetype row) const
{
    Q_ASSERT(row >= 0 && row < m_size && holdsBytes());
    const Span span = m_spans[size_t(row)];
    return span.length == nullLength ? QByteArrayView() : QByteArrayView(m_bytes.constData() + span.offset, span.length);
}

double Column::number(qsizetype row) const
{
    Q_ASSERT(row >= 0 && row < m_size && !holdsBytes());
    if (m_type == FieldType::Integer) {
        return m_integerNull[size_t(row)] ? emptyNumber : double(m_integers[size_t(row)]);
    }
    return m_numbers[size_t(row)];
}

bool Column::isNull(qsizetype row) const
{
    Q_ASSERT(row >= 0 && row < m_size);
    switch (m_type) {
    case FieldType::Text:
    case FieldType::Blob:
        return m_spans[size_t(row)].length == nullLength;
    case FieldType::Float:
    case FieldType::DateTime:
        return std::isnan(m_numbers[size_t(row)]);
    case FieldType::Integer:
        return m_integerNull[size_t(row)];
    }
    return true;
}

void Column::set(qsizetype row, const QVariant &value)
{
    Q_ASSERT(row >= 0 && row < m_size);
    const auto at = size_t(row);
    switch (m_type) {
    case FieldType::Text:
    case FieldType::Blob: {
        Span &span = m_spans[at];
        if (span.length != nullLength) {
            m_unusedBytes += span.length;
        }
        if (!value.isValid()) {
            span = Span{0, nullLength};
        } else {
            span = store(m_type == FieldType::Text ? value.toString().toUtf8() : value.toByteArray());
        }
        if (m_unusedBytes >= reclaimAtLeast && m_unusedBytes * 2 > m_bytes.size()) {
            reclaim();
        }
        return;
    }
    case FieldType::Float:
    case FieldType::DateTime:
        m_numbers[at] = value.isValid() ? value.toDouble() : emptyNumber;
        return;
    case FieldType::Integer:
        m_integerNull[at] = !value.isValid();
        m_integers[at] = value.isValid() ? value.toLongLong() : 0;
        return;
    }
}

void Column::append(const QVariant &value)
{
    resize(m_size + 1);
    set(m_size - 1, value);
}

void Column::appendNull()
{
    resize(m_size + 1);
}

void Column::appendBytes(QByteArrayView bytes)
{
    Q_ASSERT(holdsBytes());
    m_spans.push_back(store(bytes));
    ++m_size;
}

void Column::appendNumber(double number)
{
    Q_ASSERT(m_type == FieldType::Float || m_type == FieldType::DateTime);
    m_numbers.push_back(number);
    ++m_size;
}

void Column::appendInteger(qint64 number)
{
    Q_ASSERT(m_type == FieldType::Integer);
    m_integers.push_back(number);
    m_integerNull.push_back(false);
    ++m_size;
}

void Column::resize(qsizetype rows)
{
    const auto count = size_t(rows);
    switch (m_type) {
    case FieldType::Text:
    case FieldType::Blob:
        m_spans.resize(count, Span{0, nullLength});
        break;
    case FieldType::Float:
    case FieldType::DateTime:
        m_numbers.resize(count, emptyNumber);
        break;
    case FieldType::Integer:
        m_integers.resize(count, 0);
        m_integerNull.resize(count, true);
        break;
    }
    m_size = rows;
}

void Column::squeeze()
{
    m_spans.shrink_to_fit();
    m_bytes.squeeze();
    m_numbers.shrink_to_fit();
    m_integers.shrink_to_fit();
    m_integerNull.shrink_to_fit();
}

Column::Span Column::store(QByteArrayView bytes)
{
    // Offsets and lengths are 32-bit to keep a row's share small; no list a
    // screen can show comes near 4 GiB of one field's text.
    if (quint64(m_bytes.size()) + quint64(bytes.size()) >= nullLength) {
        throw std::length_error("a field's values exceed 4 GiB");
    }
    const Span span{quint32(m_bytes.size()), quint32(bytes.size())};
    m_bytes.append(bytes.data(), bytes.size());
    return span;
}

void Column::reclaim()
{
    QByteArray live;
    live.reserve(m_bytes.size() - m_unusedBytes);
    for (Span &span : m_spans) {
        if (span.length == nullLength) {
            continue;
        }
        const auto offset = quint32(live.size());
        live.append(m_bytes.constData() + span.offset, span.length);
        span.offset = offset;
    }
    m_bytes = std::move(live);
    m_unusedBytes = 0;
}
