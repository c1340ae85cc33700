// Saved option sets carry the picked lists, which live in the unit's
// working lists rather than in controls the base dialog could see.
#include "TfrmFiltroCancelamento.h"

#include "Cli_cxl04101.h"

namespace {

struct ListaSalva {
    const char *nome;
    QString &lista;
};

// The order the lists are saved and read in.
QList<ListaSalva> listasSalvas()
{
    return {{"stCliente", stCliente},
            {"stTipoEven", stTipoEven},
            {"stProduto", stProduto},
            {"stVendedor", stVendedor},
            {"stTipoServ", stTipoServ}};
}

} // namespace

void TfrmFiltroCancelamento::btfSaveOpcClick(QObject *sender)
{
    for (const ListaSalva &salva : listasSalvas()) {
        options().SetValues(QLatin1String(salva.nome), salva.lista);
    }
    TfrmFiltroPadrao::btfSaveOpcClick(sender);
}

// Only the working lists come back: which criteria use them is still the
// operator's choice on the radios, and `Filtro` changes only on confirming.
void TfrmFiltroCancelamento::btfLoadOpcClick(QObject *sender)
{
    TfrmFiltroPadrao::btfLoadOpcClick(sender);
    for (const ListaSalva &salva : listasSalvas()) {
        salva.lista = options().Values(QLatin1String(salva.nome));
    }
    mostraQuantidades();
}
