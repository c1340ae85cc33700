#include "Cli_cxl04101.h"

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
