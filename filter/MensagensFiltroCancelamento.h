#pragma once

#include <QStringList>

// The filter dialog's message table, lines "KEY|text" in their stored order.
// Only the range, state and list checks and the pickers read it; the other
// lines are carried for the dialogs that share this table's layout.
QStringList MensagensFiltroCancelamento();
