#pragma once

class TfrmPadraoGrid;

// The cancellation screen while it exists (`frmCancelamento` of the screen's
// unit); nullptr when none is open. The filter unit finds it by its object
// name instead of through that global, so the unit still links on its own
// (its record is tested without the screen). Never fails.
TfrmPadraoGrid *TelaCancelamento();
