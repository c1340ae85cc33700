#include "LineBuffer.h"

LineBuffer::LineBuffer(qint64 maxLineLength)
    : m_max(maxLineLength)
{
}

void LineBuffer::append(const QByteArray &data)
{
    if (m_start > 0 && m_start >= m_buffer.size() / 2) {
        m_buffer.remove(0, m_start);
        m_start = 0;
    }
    m_buffer.append(data);
}

std::optional<LineBuffer::Item> LineBuffer::next()
{
    while (true) {
        const qsizetype newline = m_buffer.indexOf('\n', m_start + m_scanned);
        if (m_skipping) {
            if (newline < 0) {
                m_buffer.clear();
                m_start = 0;
                m_scanned = 0;
                return std::nullopt;
            }
            m_start = newline + 1;
            m_scanned = 0;
            m_skipping = false;
            continue;
        }
        if (newline < 0) {
            m_scanned = m_buffer.size() - m_start;
            if (m_scanned > m_max) {
                m_skipping = true;
                m_buffer.clear();
                m_start = 0;
                m_scanned = 0;
                return Item{true, {}};
            }
            return std::nullopt;
        }
        const qsizetype length = newline - m_start;
        Item item;
        if (length > m_max) {
            item.oversized = true;
        } else {
            item.line = m_buffer.mid(m_start, length);
        }
        m_start = newline + 1;
        m_scanned = 0;
        return item;
    }
}
