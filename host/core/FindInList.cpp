#include "FindInList.h"

#include "RecordList.h"

#include <QHash>

namespace {

QHash<QString, FindInList::Criterion> &remembered()
{
    static QHash<QString, FindInList::Criterion> criteria;
    return criteria;
}

} // namespace

namespace FindInList {

bool From(RecordList &list, const Criterion &criterion, int fromRow)
{
    remembered().insert(list.name(), criterion);
    const int column = list.fieldByName(criterion.field).index();
    for (int row = qMax(fromRow, 0); row < list.recordCount(); ++row) {
        if (list.displayTextAt(row, column).contains(criterion.text, Qt::CaseInsensitive)) {
            list.moveTo(row);
            return true;
        }
    }
    return false;
}

std::optional<Criterion> Last(const RecordList &list)
{
    const auto found = remembered().constFind(list.name());
    if (found == remembered().constEnd()) {
        return std::nullopt;
    }
    return *found;
}

} // namespace FindInList
