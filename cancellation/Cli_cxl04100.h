#pragma once

#include <QPointer>

class TfrmCancelamento;

// Globals of the cancellation screen's unit; they outlive each screen
// instance and keep their values while the module is loaded.
extern QPointer<TfrmCancelamento> frmCancelamento; // none once the screen is freed
extern bool boStCriado; // the screen exists
extern bool boFiltro;   // the branch step opens the filter dialog before listing
extern bool boVd;       // the reason code is checked when it is left
extern bool boInsGrid;  // inserting into the item list is refused

// Opens the one cancellation screen: creates it when it does not exist, then
// shows it in normal size in front of the others. Failures go on to the host.
void CriaCancelamento();

namespace Cli_cxl04100 {
void Initialization();
void Finalization();
} // namespace Cli_cxl04100
