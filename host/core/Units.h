#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Start-up and shut-down of the units that make up the loaded modules. A unit
// may be shared by several modules: it is initialised by the first module
// that needs it and finalised when the last one lets it go.
namespace UnitRegistry {

// Counts one more user of the unit; runs `init` only for the first. When
// `init` throws, the unit stays uninitialised (the count is taken back and
// the log entry removed) and the exception goes on.
void InitializeUnit(const QString &name, const std::function<void()> &init);

// Counts one user less; runs `fin` when the count drops to zero. A unit that
// is not initialised is left alone. When `fin` throws, the unit still counts
// as finalised and the exception goes on.
void FinalizeUnit(const QString &name, const std::function<void()> &fin);

// The units in the order their initialisation ran, with "-name" entries for
// finalisations, for diagnostics and tests.
QStringList InitializationLog();
void ClearLog();

} // namespace UnitRegistry

// The modules' entry points call these unqualified, like every other routine
// of a host unit.
using UnitRegistry::ClearLog;
using UnitRegistry::FinalizeUnit;
using UnitRegistry::InitializationLog;
using UnitRegistry::InitializeUnit;
