#pragma once

#include <QString>

// Globals of the filter dialog's unit. The working lists hold the codes picked
// in the dialog between the lookup and the confirmation; the product list is
// kept from one opening of the dialog to the next.
extern bool boIdCriado;
extern bool boPesqLista;
extern QString stVendedor;
extern QString stCliente;
extern QString stProduto;
extern QString stTipoEven;
extern QString stTipoServ;
extern QString stTdtOrc;
extern QString stTDtVal;
extern QString stTDtEve;
extern QString stTNrOrca;
extern QString stIdSitu;
extern QString stTIdSitu;
extern QString stMaoObra;

namespace Cli_cxl04101 {
void Initialization();
void Finalization();
} // namespace Cli_cxl04101
