#include "SortKey.h"

#include <QCollator>

SortKey SortKey::of(FieldType type, const QVariant &value, const QString &text, const QCollator &collator)
{
    SortKey key;
    if (type == FieldType::Text) {
        key.m_empty = text.isEmpty();
        if (!key.m_empty) {
            key.m_text = collator.sortKey(text);
        }
    } else {
        key.m_empty = value.isNull();
        key.m_number = value.toDouble();
    }
    return key;
}

int SortKey::compare(const SortKey &other) const
{
    if (m_empty || other.m_empty) {
        return int(other.m_empty) - int(m_empty);
    }
    if (m_text) {
        return m_text->compare(*other.m_text);
    }
    return m_number < other.m_number ? -1 : m_number > other.m_number ? 1 : 0;
}
