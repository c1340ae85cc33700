#include "Procurar.h"

#include "FindInList.h"
#include "HostDialogs.h"
#include "RecordList.h"

bool Procurar::Procura(RecordList &list)
{
    return HostDialogs::current().find(list);
}

bool Procurar::ProcuraProximo(RecordList &list)
{
    const auto last = FindInList::Last(list);
    if (!last) {
        return Procura(list);
    }
    if (FindInList::From(list, *last, list.recNo() + 1)) {
        return true;
    }
    HostDialogs::current().showMessage(HostDialogs::Icon::Information, QStringLiteral("Procurar"),
                                       QStringLiteral("Registro não encontrado."));
    return false;
}
