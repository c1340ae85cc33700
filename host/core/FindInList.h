#pragma once

#include <QString>

#include <optional>

class RecordList;

// The one search behind the host's find and find-next: the first record, from
// a given row on, whose display text in a field contains a text (case
// insensitive). Each list (by its name) remembers the last field and text
// searched in it, so the find window can offer them again and F3 can go on
// from the current record.
namespace FindInList {

struct Criterion {
    QString field; // the field's name
    QString text;
};

// Remembers `criterion` for `list`, then makes the first matching record at
// or after `fromRow` current; false, leaving the list where it was, when none
// matches. Throws std::runtime_error for a field the list lacks; failures of
// the list's own events while moving go on to the caller.
bool From(RecordList &list, const Criterion &criterion, int fromRow);

// The criterion last searched in `list`; none before its first search.
std::optional<Criterion> Last(const RecordList &list);

} // namespace FindInList
