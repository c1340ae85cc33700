#pragma once

#include <QString>

// The one record that says which event quotes the cancellation screen lists.
// Each criterion travels as its values and a flag: "T" when the criterion is
// not applied (every quote passes), the empty text when the values apply.
// Date-times are day counts since 1899-12-30; 0 is the empty date.

struct TNrOrcaEven {
    QString De;   // first quote number, brought to width 10
    QString Ate;  // last quote number, brought to width 10
    QString Todos;
};

struct TDateRange {
    double De = 0;  // first day
    double Ate = 0; // last day
    QString Todos;
};

// Three ranges of the same shape kept as distinct types, so one can never be
// passed where another is meant.
struct TDtEvento : TDateRange {};
struct TDtValidade : TDateRange {};
struct TDtOrcamento : TDateRange {};

struct TCodeList {
    QString Lista; // the codes as the multi-select lookup gave them, never parsed here
    QString Todos;
};

struct TVendedor : TCodeList {};
struct TCliente : TCodeList {};
struct TTipoServ : TCodeList {};
struct TTipoEven : TCodeList {};

struct TFiltro {
    TNrOrcaEven NrOrcaEven;
    TDtEvento DtEvento;
    TDtValidade DtValidade;
    TDtOrcamento DtOrcamento;
    TVendedor Vendedor;
    TCliente Cliente;
    TTipoServ TipoServ;
    TTipoEven TipoEven;
    QString IdSitu;    // status string, e.g. "_1_2_" or the default "1_2_"
    QString TIdSitu;
    QString Titulo;    // kept exactly as typed, blanks included
    QString TTitulo;
    QString NovoClie;  // kept exactly as typed, blanks included
    QString TNovoClie;
};

// The module-wide filter, shared by the cancellation screen and the filter
// dialog; it lives as long as the module is loaded.
extern TFiltro Filtro;

// Every criterion open except the states: pending and approved quotes.
TFiltro FiltroPadrao();
void ResetFiltro(TFiltro &filtro);
// Empties every text of the record (done when the module is unloaded).
void LiberaTextosFiltro(TFiltro &filtro);
