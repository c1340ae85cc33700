#pragma once

#include "HostModule.h"

#include <QStringList>

#include <memory>
#include <vector>

// Finds the modules in a folder (files named Pkg_*.so), starts them and
// stops them in reverse order on exit.
class ModuleLoader final {
public:
    ModuleLoader() = default;
    ~ModuleLoader();
    ModuleLoader(const ModuleLoader &) = delete;
    ModuleLoader &operator=(const ModuleLoader &) = delete;

    // Starts every module of the folder; returns the reasons of those that
    // failed (they stay listed with their state Failed).
    QStringList startAll(const QString &folder);
    const std::vector<std::unique_ptr<HostModule>> &modules() const { return m_modules; }
    HostModule *find(const QString &name) const;
    // Opens a module's screen by name; throws std::runtime_error naming it
    // when no running module has that name.
    void open(const QString &name);
    void stopAll();

private:
    std::vector<std::unique_ptr<HostModule>> m_modules;
};
