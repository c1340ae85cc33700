#include "HostDialogs.h"

#include <stdexcept>

namespace {
HostDialogs *installed = nullptr;
}

HostDialogs &HostDialogs::current()
{
    if (!installed) {
        throw std::logic_error("no host dialogs installed");
    }
    return *installed;
}

void HostDialogs::install(HostDialogs *dialogs)
{
    installed = dialogs;
}
