#include "Pesquisa.h"

#include "HostDialogs.h"
#include "LookupTitle.h"
#include "RecordList.h"
#include "TDataSource.h"

#include <stdexcept>

bool Pesquisa::Pesquisar(TDataSource &source, const QString &title, bool allowEmptyPick, bool showEmptyMessage)
{
    RecordList *list = source.dataSet();
    if (!list) {
        throw std::logic_error("lookup over a data source without a list");
    }
    const LookupTitle parts = LookupTitle::parse(title);
    HostDialogs &dialogs = HostDialogs::current();
    const bool empty = !list->isActive() || list->isEmpty();
    if (empty && !allowEmptyPick) {
        if (showEmptyMessage) {
            dialogs.showMessage(HostDialogs::Icon::Information, parts.caption, parts.emptyMessage);
        }
        return false;
    }
    if (list->fieldCount() == 0) {
        return false;
    }
    return dialogs.pickOne(*list, list->field(0).name(), parts.caption);
}
