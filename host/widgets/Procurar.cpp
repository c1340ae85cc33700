#include "Procurar.h"

#include "HostDialogs.h"

bool Procurar::Procura(RecordList &list)
{
    return HostDialogs::current().find(list);
}
