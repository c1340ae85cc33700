#include "ModuleLoader.h"

#include <QDir>

#include <stdexcept>

ModuleLoader::~ModuleLoader()
{
    stopAll();
}

QStringList ModuleLoader::startAll(const QString &folder)
{
    QStringList failures;
    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("Pkg_*.so")}, QDir::Files, QDir::Name);
    for (const QString &file : files) {
        auto module = std::make_unique<HostModule>(dir.absoluteFilePath(file));
        if (!module->start()) {
            failures << module->error();
        }
        m_modules.push_back(std::move(module));
    }
    return failures;
}

HostModule *ModuleLoader::find(const QString &name) const
{
    for (const auto &module : m_modules) {
        if (module->name() == name) {
            return module.get();
        }
    }
    return nullptr;
}

void ModuleLoader::open(const QString &name)
{
    HostModule *module = find(name);
    if (!module) {
        throw std::runtime_error(
            QStringLiteral("Módulo não encontrado: %1").arg(name).toStdString());
    }
    module->open();
}

void ModuleLoader::stopAll()
{
    for (auto it = m_modules.rbegin(); it != m_modules.rend(); ++it) {
        (*it)->stop();
    }
}
