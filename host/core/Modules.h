#pragma once

#include <QString>
#include <QStringList>

// The modules the host has loaded, and their language resources.
//
// A module's texts may be translated by a Qt translation file beside the
// module's file: "<name>_pt_BR.qm", else "<name>.qm", where <name> is the
// file name without its suffixes (for "libPkg.so" also without the "lib"
// prefix). When one is found it is loaded and installed in the application;
// otherwise the module's own built-in texts are used.
namespace ModuleRegistry {

// Records a module when it is attached (`instance` is its library handle,
// not owned) and installs its translation when one is found. Registering a
// file again only replaces the instance. A translation file that exists but
// cannot be loaded is ignored like an absent one. Needs the application
// object to install a translation.
void RegisterModule(const QString &moduleFile, void *instance);

// Forgets a module when it is detached, uninstalling and freeing its
// translation. Unknown files are ignored.
void UnregisterModule(const QString &moduleFile);

QStringList RegisteredModules(); // absolute paths of the module files, in registration order
bool HasTranslation(const QString &moduleFile);
QString TranslationFile(const QString &moduleFile); // empty when none was loaded
void *ModuleInstance(const QString &moduleFile);     // nullptr when not registered

} // namespace ModuleRegistry

// A module's attach and detach code calls these unqualified, like every other
// routine of a host unit.
using ModuleRegistry::HasTranslation;
using ModuleRegistry::RegisteredModules;
using ModuleRegistry::RegisterModule;
using ModuleRegistry::UnregisterModule;
