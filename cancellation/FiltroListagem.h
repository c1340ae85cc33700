#pragma once

#include "QuoteListing.h"
#include "TFiltro.h"

// The screen's filter as the listing the server takes, and back: the server
// may settle on other values, and they come back into the filter.
namespace FiltroListagem {

QuoteListing listagem(const TFiltro &filtro);
void devolve(const QuoteListing &listagem, TFiltro &filtro);

} // namespace FiltroListagem
