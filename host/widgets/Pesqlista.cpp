#include "Pesqlista.h"

#include "HostDialogs.h"
#include "LookupTitle.h"
#include "RecordList.h"
#include "TDataSource.h"

#include <stdexcept>

namespace {
const QChar separator = QLatin1Char('_');

QStringList allKeys(const RecordList &records, int keyColumn)
{
    QStringList keys;
    for (int row = 0; row < records.recordCount(); ++row) {
        keys << records.valueAt(row, keyColumn).toString();
    }
    return keys;
}
} // namespace

bool Pesqlista::PesquisaLista(TDataSource &source, const QString &keyField, const QString &title, bool flag,
                              QString &list)
{
    RecordList *records = source.dataSet();
    if (!records) {
        throw std::logic_error("lookup over a data source without a list");
    }
    const LookupTitle parts = LookupTitle::parse(title);
    HostDialogs &dialogs = HostDialogs::current();
    if (!records->isActive() || records->isEmpty()) {
        dialogs.showMessage(HostDialogs::Icon::Information, parts.caption, parts.emptyMessage);
        return false;
    }
    const int keyColumn = records->fieldByName(keyField).index();
    QStringList keys = list.split(separator, Qt::SkipEmptyParts);
    if (keys.isEmpty() && flag) {
        keys = allKeys(*records, keyColumn);
    }
    if (!dialogs.pickMany(*records, keyField, parts.caption, keys)) {
        return false;
    }
    list = keys.join(separator);
    return true;
}
