#include "FiltroListagem.h"

namespace {

// Each field of the filter with the listing value it stands for, by name:
// the order on the wire is the listing's business.
template<typename Filtro, typename Listagem, typename Par>
void pares(Filtro &f, Listagem &l, Par &&par)
{
    par(f.NrOrcaEven.De, l.number.from), par(f.NrOrcaEven.Ate, l.number.to), par(f.NrOrcaEven.Todos, l.number.all);
    par(f.DtOrcamento.De, l.quoteDate.from), par(f.DtOrcamento.Ate, l.quoteDate.to);
    par(f.DtOrcamento.Todos, l.quoteDate.all);
    par(f.DtValidade.De, l.validity.from), par(f.DtValidade.Ate, l.validity.to), par(f.DtValidade.Todos, l.validity.all);
    par(f.DtEvento.De, l.eventDate.from), par(f.DtEvento.Ate, l.eventDate.to), par(f.DtEvento.Todos, l.eventDate.all);
    par(f.Vendedor.Lista, l.seller.list), par(f.Vendedor.Todos, l.seller.all);
    par(f.Cliente.Lista, l.client.list), par(f.Cliente.Todos, l.client.all);
    par(f.TipoEven.Lista, l.eventType.list), par(f.TipoEven.Todos, l.eventType.all);
    par(f.TipoServ.Lista, l.serviceType.list), par(f.TipoServ.Todos, l.serviceType.all);
    par(f.IdSitu, l.states), par(f.TIdSitu, l.allStates);
    par(f.Titulo, l.title), par(f.TTitulo, l.allTitles);
    par(f.NovoClie, l.newClient), par(f.TNovoClie, l.allNewClients);
}

} // namespace

namespace FiltroListagem {

QuoteListing listagem(const TFiltro &filtro)
{
    QuoteListing listagem;
    pares(filtro, listagem, [](const auto &campo, auto &valor) { valor = campo; });
    return listagem;
}

void devolve(const QuoteListing &listagem, TFiltro &filtro)
{
    pares(filtro, listagem, [](auto &campo, const auto &valor) { campo = valor; });
}

} // namespace FiltroListagem
