#pragma once

#include "DataPacket.h"

#include <QCollatorSortKey>
#include <QVariant>

#include <optional>

class QCollator;

// What one record is sorted by when a list is put in the order of a field.
// Texts compare as a Brazilian operator reads them: accents and case only
// break ties, digits compare as numbers ("Sala 2" before "Sala 10");
// numbers and dates compare by value. An empty value comes before any other.
class SortKey final {
public:
    // `text` is what the grid shows for the value: the order of a text field
    // is the order the operator sees (a state shown as a word goes by the
    // word), while numbers and dates go by `value`, not by their text.
    static SortKey of(FieldType type, const QVariant &value, const QString &text, const QCollator &collator);

    // <0, 0 or >0 as this key comes before, with or after `other`.
    int compare(const SortKey &other) const;

private:
    bool m_empty = true;
    double m_number = 0;
    std::optional<QCollatorSortKey> m_text;
};
