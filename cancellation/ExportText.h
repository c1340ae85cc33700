#pragma once

#include <QByteArrayView>

#include <string>
#include <unordered_map>

class RecordList;

// What the grid shows of one text (or blob) field, read row after row for a
// whole list as UTF-8: the stored bytes themselves when the field shows
// what it stores; otherwise its display text, asked once per distinct
// stored value. The get-text hooks of the fields exported turn a code into
// a word and read nothing else, so a word found once is the word of every
// row with that code. A blob's display text is asked every row.
class ExportText final {
public:
    ExportText(const RecordList &list, int field);

    int field() const { return m_field; }
    // Valid until the next call or until the list changes.
    QByteArrayView utf8(int row);

private:
    const RecordList &m_list;
    int m_field;
    bool m_stored;
    bool m_text;
    std::string m_key;
    std::unordered_map<std::string, std::string> m_shown;
};
