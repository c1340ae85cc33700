#include "ExportText.h"

#include "RecordList.h"

ExportText::ExportText(const RecordList &list, int field)
    : m_list(list)
    , m_field(field)
    , m_stored(list.field(field).showsStoredText())
    , m_text(list.field(field).type() == FieldType::Text)
{
}

QByteArrayView ExportText::utf8(int row)
{
    if (!m_text) {
        m_key = m_list.displayTextAt(row, m_field).toStdString();
        return QByteArrayView(m_key.data(), qsizetype(m_key.size()));
    }
    const QByteArrayView stored = m_list.storedTextAt(row, m_field);
    if (m_stored) {
        return stored;
    }
    m_key.assign(stored.data(), size_t(stored.size()));
    auto shown = m_shown.find(m_key);
    if (shown == m_shown.end()) {
        shown = m_shown.emplace(m_key, m_list.displayTextAt(row, m_field).toStdString()).first;
    }
    return QByteArrayView(shown->second.data(), qsizetype(shown->second.size()));
}
