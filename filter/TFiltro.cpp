#include "TFiltro.h"

#include "QuoteStates.h"

TFiltro Filtro;

namespace {
const QString Todos = QStringLiteral("T");
}

TFiltro FiltroPadrao()
{
    TFiltro filtro;
    filtro.NrOrcaEven.Todos = Todos;
    filtro.DtEvento.Todos = Todos;
    filtro.DtValidade.Todos = Todos;
    filtro.DtOrcamento.Todos = Todos;
    filtro.Vendedor.Todos = Todos;
    filtro.Cliente.Todos = Todos;
    filtro.TipoServ.Todos = Todos;
    filtro.TipoEven.Todos = Todos;
    // The first listing of a new screen asks for what can still be cancelled.
    filtro.IdSitu = QuoteState::Pending + QLatin1Char('_') + QuoteState::Approved + QLatin1Char('_');
    filtro.TTitulo = Todos;
    filtro.TNovoClie = Todos;
    return filtro;
}

void ResetFiltro(TFiltro &filtro)
{
    filtro = FiltroPadrao();
}

void LiberaTextosFiltro(TFiltro &filtro)
{
    for (QString *text : {&filtro.NrOrcaEven.De, &filtro.NrOrcaEven.Ate, &filtro.NrOrcaEven.Todos,
                          &filtro.DtEvento.Todos, &filtro.DtValidade.Todos, &filtro.DtOrcamento.Todos,
                          &filtro.Vendedor.Lista, &filtro.Vendedor.Todos, &filtro.Cliente.Lista,
                          &filtro.Cliente.Todos, &filtro.TipoServ.Lista, &filtro.TipoServ.Todos,
                          &filtro.TipoEven.Lista, &filtro.TipoEven.Todos, &filtro.IdSitu, &filtro.TIdSitu,
                          &filtro.Titulo, &filtro.TTitulo, &filtro.NovoClie, &filtro.TNovoClie}) {
        text->clear();
    }
}
