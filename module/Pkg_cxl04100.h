#pragma once

// Entry points of the cancellation module, called by the host client after it
// loads the library. Attaching and detaching the library register and
// unregister it with the host (see ModuleAttachment.cpp).
extern "C" {
// Initialises the module's units in dependency order: the filter dialog's
// unit before the screen's unit.
void Initialize();
// Finalises them in reverse order, emptying the units' texts.
void Finalize();
// Opens the cancellation screen; any failure goes on to the host.
void IniProc();
// The screen's name as the host's "Módulos" menu shows it (UTF-8).
const char *ModuleTitle();
}
