#pragma once

#include <QStringList>

#include <optional>

class RecordList;

// Where the operator stands in the list of quotes: the current quote and
// those after it in the order shown ("number-sequence" each), and how far
// below the grid's top row the current one shows. A listing goes back there.
struct ListPlace {
    QStringList fromHereOn;
    int heightOnScreen = 0;

    // None for an empty list; `topRow` is the row at the grid's top.
    static std::optional<ListPlace> of(const RecordList &list, int topRow);
    // The row to go back to in `list` as now loaded: the quote that was
    // current or, when it is no longer listed, the first listed of those that
    // followed it; the last row when none is.
    int rowIn(const RecordList &list) const;
};
