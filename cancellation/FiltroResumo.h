#pragma once

#include <QString>

struct TFiltro;

// The filter in a few words for the screen's status line: the states listed,
// then the name of every other criterion that narrows the listing, e.g.
// "Pendente, Aprovado; data do evento, cliente".
namespace FiltroResumo {

QString texto(const TFiltro &filtro);

} // namespace FiltroResumo
