#include "FiltroResumo.h"

#include "QuoteStates.h"
#include "TFiltro.h"

#include <QStringList>

namespace {

// A criterion narrows the listing unless it is flagged "every quote passes".
bool aplicado(const QString &todos)
{
    return todos != QLatin1String("T");
}

} // namespace

namespace FiltroResumo {

QString texto(const TFiltro &filtro)
{
    QStringList situacoes;
    const struct {
        const QString &codigo;
        const char16_t *nome;
    } estados[] = {{QuoteState::Pending, u"Pendente"},
                   {QuoteState::Approved, u"Aprovado"},
                   {QuoteState::Cancelled, u"Cancelado"},
                   {QuoteState::Postponed, u"Adiado"}};
    for (const auto &estado : estados) {
        if (filtro.IdSitu.contains(estado.codigo)) {
            situacoes << QString::fromUtf16(estado.nome);
        }
    }
    QStringList criterios;
    const struct {
        const QString &todos;
        const char16_t *nome;
    } restricoes[] = {{filtro.NrOrcaEven.Todos, u"número"},
                      {filtro.DtEvento.Todos, u"data do evento"},
                      {filtro.DtValidade.Todos, u"validade"},
                      {filtro.DtOrcamento.Todos, u"data do orçamento"},
                      {filtro.Vendedor.Todos, u"vendedor"},
                      {filtro.Cliente.Todos, u"cliente"},
                      {filtro.TipoServ.Todos, u"tipo de serviço"},
                      {filtro.TipoEven.Todos, u"tipo de evento"},
                      {filtro.TTitulo, u"título"},
                      {filtro.TNovoClie, u"cliente novo"}};
    for (const auto &restricao : restricoes) {
        if (aplicado(restricao.todos)) {
            criterios << QString::fromUtf16(restricao.nome);
        }
    }
    QStringList partes{situacoes.join(QLatin1String(", "))};
    if (!criterios.isEmpty()) {
        partes << criterios.join(QLatin1String(", "));
    }
    return partes.join(QLatin1String("; "));
}

} // namespace FiltroResumo
