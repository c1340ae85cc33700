#include "NetLineBuffer.h"

void NetLineBuffer::append(const QByteArray &bytes)
{
    m_bytes.append(bytes);
}

std::optional<QByteArray> NetLineBuffer::takeLine()
{
    // A large packet arrives in many reads; remembering where the last search
    // stopped keeps the search linear in the packet's size.
    const qsizetype end = m_bytes.indexOf('\n', m_scanned);
    if (end < 0) {
        m_scanned = m_bytes.size();
        return std::nullopt;
    }
    m_scanned = 0;
    if (end == m_bytes.size() - 1) {
        // The usual case, one answer per read: hand the bytes over uncopied.
        QByteArray line = std::move(m_bytes);
        m_bytes = QByteArray();
        line.chop(1);
        return line;
    }
    QByteArray line = m_bytes.left(end);
    m_bytes.remove(0, end + 1);
    return line;
}

void NetLineBuffer::clear()
{
    m_bytes.clear();
    m_scanned = 0;
}
