#include "ListPlace.h"

#include "RecordList.h"

#include <QHash>

namespace {

// The "number-sequence" of each row from `first` to the end.
QStringList keysFrom(const RecordList &list, int first)
{
    const int number = list.fieldByName(QStringLiteral("NRORCAEVENTO")).index();
    const int sequence = list.fieldByName(QStringLiteral("NRSEQORCAEVE")).index();
    QStringList keys;
    keys.reserve(list.recordCount() - first);
    for (int row = first; row < list.recordCount(); ++row) {
        keys << list.valueAt(row, number).toString() + QLatin1Char('-') + list.valueAt(row, sequence).toString();
    }
    return keys;
}

} // namespace

std::optional<ListPlace> ListPlace::of(const RecordList &list, int topRow)
{
    if (!list.isActive() || list.isEmpty()) {
        return std::nullopt;
    }
    return ListPlace{keysFrom(list, list.recNo()), list.recNo() - topRow};
}

int ListPlace::rowIn(const RecordList &list) const
{
    // Whatever the order shown (the list's own or a column's).
    const QStringList listed = keysFrom(list, 0);
    QHash<QString, int> rows;
    rows.reserve(listed.size());
    for (int row = 0; row < listed.size(); ++row) {
        rows.insert(listed.at(row), row);
    }
    for (const QString &key : fromHereOn) {
        if (const auto found = rows.constFind(key); found != rows.cend()) {
            return *found;
        }
    }
    return list.recordCount() - 1;
}
