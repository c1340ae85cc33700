#include "Cli_cxl04100.h"

#include "HostMdi.h"
#include "TFiltro.h"
#include "TfrmCancelamento.h"

#include <QApplication>
#include <QCursor>

QPointer<TfrmCancelamento> frmCancelamento;
bool boStCriado = false;
bool boFiltro = false;
bool boVd = false;
bool boInsGrid = false;

namespace {
// The hourglass shows while the screen is built and connects, and goes away
// however the opening ends.
class HourglassCursor final {
public:
    HourglassCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourglassCursor() { QApplication::restoreOverrideCursor(); }
    HourglassCursor(const HourglassCursor &) = delete;
    HourglassCursor &operator=(const HourglassCursor &) = delete;
};
} // namespace

void CriaCancelamento()
{
    HourglassCursor hourglass;
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
