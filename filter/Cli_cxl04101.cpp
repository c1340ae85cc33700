#include "Cli_cxl04101.h"

#include "CursorOverride.h"
#include "TfrmFiltroCancelamento.h"

bool boIdCriado = false;
bool boPesqLista = false;
QString stVendedor;
QString stCliente;
QString stProduto;
QString stTipoEven;
QString stTipoServ;
QString stTdtOrc;
QString stTDtVal;
QString stTDtEve;
QString stTNrOrca;
QString stIdSitu;
QString stTIdSitu;
QString stMaoObra;
QPointer<TfrmFiltroCancelamento> frmFiltroCancelamento;

namespace {
// The dialog is freed as it closes, so its answer is kept here for the caller.
int ultimoResultado = 0;
} // namespace

void CriaFiltroCancelamento(const TelaFiltro &tela)
{
    const CursorOverride busy(Qt::WaitCursor);
    if (!boIdCriado || !frmFiltroCancelamento) {
        frmFiltroCancelamento = CreateForm<TfrmFiltroCancelamento>(tela.pai);
        boIdCriado = true;
    }
    frmFiltroCancelamento->defineTela(tela);
    ultimoResultado = 0;
    // The operator works in the dialog with the normal cursor.
    const CursorOverride normal(Qt::ArrowCursor);
    ultimoResultado = frmFiltroCancelamento->ShowModal();
}

int FiltroModalResult()
{
    return ultimoResultado;
}

namespace Cli_cxl04101 {

void Initialization()
{
    boIdCriado = false;
    boPesqLista = false;
    for (QString *list : {&stVendedor, &stCliente, &stProduto, &stTipoEven, &stTipoServ}) {
        list->clear();
    }
}

void Finalization()
{
    for (QString *text : {&stVendedor, &stCliente, &stProduto, &stTipoEven, &stTipoServ, &stTdtOrc,
                          &stTDtVal, &stTDtEve, &stTNrOrca, &stIdSitu, &stTIdSitu, &stMaoObra}) {
        text->clear();
    }
}

} // namespace Cli_cxl04101
