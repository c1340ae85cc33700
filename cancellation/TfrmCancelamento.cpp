#include "TfrmCancelamento.h"

#include "Cli_cxl04100.h"
#include "TFiltro.h"

#include <QLabel>

TfrmCancelamento::TfrmCancelamento(QWidget *parent)
    : TfrmPadraoGrid(parent)
{
    setObjectName(QStringLiteral("frmCancelamento"));
    setWindowTitle(QStringLiteral("Cancelamento"));
    lblCodTela->setText(QStringLiteral("CXL04100"));
    resize(767, 459);
}

void TfrmCancelamento::FormCreate()
{
    TfrmPadraoGrid::FormCreate();
    boPrimeiraAtivacao = true;
    // A filter chosen on an earlier screen does not carry over to a new one.
    ResetFiltro(Filtro);
}

void TfrmCancelamento::FormClose(CloseAction &action)
{
    TfrmPadraoGrid::FormClose(action);
    boStCriado = false;
}
