#include "Cli_cxl04100.h"

#include "CursorOverride.h"
#include "HostMdi.h"
#include "TFiltro.h"
#include "TfrmCancelamento.h"


QPointer<TfrmCancelamento> frmCancelamento;
bool boStCriado = false;
bool boFiltro = false;
bool boVd = false;
bool boInsGrid = false;


void CriaCancelamento()
{
    // The hourglass shows while the screen is built and connects, and goes
    // away however the opening ends.
    const CursorOverride hourglass(Qt::WaitCursor);
    if (!boStCriado) {
        frmCancelamento = CreateForm<TfrmCancelamento>();
        boStCriado = true;
    }
    HostMdi::ShowChild(frmCancelamento);
}

namespace Cli_cxl04100 {

void Initialization()
{
    boStCriado = false;
}

void Finalization()
{
    LiberaTextosFiltro(Filtro);
}

} // namespace Cli_cxl04100
