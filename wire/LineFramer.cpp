#include "LineFramer.h"

LineFramer::LineFramer(qint64 maxLineLength)
    : m_max(maxLineLength)
{
}

void LineFramer::append(const QByteArray &bytes)
{
    if (m_start > 0 && m_start >= m_buffer.size() / 2) {
        m_buffer.remove(0, m_start);
        m_start = 0;
    }
    m_buffer.append(bytes);
}

void LineFramer::clear()
{
    m_buffer.clear();
    m_start = 0;
    m_scanned = 0;
    m_skipping = false;
}

std::optional<LineFramer::Line> LineFramer::next()
{
    while (true) {
        // A large line arrives in many reads; remembering where the last
        // search stopped keeps the search linear in the line's size.
        const qsizetype newline = m_buffer.indexOf('\n', m_start + m_scanned);
        if (m_skipping) {
            if (newline < 0) {
                clear();
                m_skipping = true;
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
                clear();
                m_skipping = true;
                return Line{true, {}};
            }
            return std::nullopt;
        }
        const qsizetype length = newline - m_start;
        Line line;
        if (length > m_max) {
            line.oversized = true;
        } else if (m_start == 0 && newline == m_buffer.size() - 1) {
            // The usual case, one message per read: hand the bytes over uncopied.
            line.text = std::move(m_buffer);
            line.text.chop(1);
            clear();
            return line;
        } else {
            line.text = m_buffer.mid(m_start, length);
        }
        m_start = newline + 1;
        m_scanned = 0;
        return line;
    }
}
