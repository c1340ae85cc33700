#pragma once

#include "TelaFiltro.h"

#include <QPointer>
#include <QString>

class TfrmFiltroCancelamento;

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

// The dialog while it exists; none once it has closed and been freed.
extern QPointer<TfrmFiltroCancelamento> frmFiltroCancelamento;

// Opens the filter dialog modally over the screen `tela` describes and
// returns when it has been closed. The dialog frees itself on closing; its
// modal result (1 confirmed, 2 cancelled or closed any other way) stays
// readable through FiltroModalResult() until the next opening. Failures go
// on to the caller.
void CriaFiltroCancelamento(const TelaFiltro &tela = {});
int FiltroModalResult();

// How many codes a picked list holds: its "_" separators plus one, so an
// empty list counts one.
int ContaChecked(const QString &lista);

namespace Cli_cxl04101 {
void Initialization();
void Finalization();
} // namespace Cli_cxl04101
