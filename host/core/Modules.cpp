#include "Modules.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <vector>
#include <QTranslator>

#include <memory>

namespace {

struct Module {
    QString file;
    void *instance = nullptr;
    std::unique_ptr<QTranslator> translator;
    QString translationFile;
};

std::vector<Module> &modules()
{
    static std::vector<Module> loaded;
    return loaded;
}

// Modules are known by their absolute path, so "./x.so" and "x.so" match.
QString keyOf(const QString &moduleFile)
{
    return QFileInfo(moduleFile).absoluteFilePath();
}

Module *find(const QString &moduleFile)
{
    const QString key = keyOf(moduleFile);
    for (Module &module : modules()) {
        if (module.file == key) {
            return &module;
        }
    }
    return nullptr;
}

QStringList translationCandidates(const QString &moduleFile)
{
    const QFileInfo info(moduleFile);
    QStringList names{info.baseName()};
    if (names.first().startsWith(QLatin1String("lib")) && names.first().size() > 3) {
        names << names.first().mid(3);
    }
    QStringList candidates;
    const QDir folder = info.absoluteDir();
    for (const QString &name : std::as_const(names)) {
        candidates << folder.filePath(name + QLatin1String("_pt_BR.qm"))
                   << folder.filePath(name + QLatin1String(".qm"));
    }
    return candidates;
}

void loadTranslation(Module &module)
{
    if (!QCoreApplication::instance()) {
        return;
    }
    for (const QString &candidate : translationCandidates(module.file)) {
        if (!QFileInfo(candidate).isFile()) {
            continue;
        }
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(candidate)) {
            QCoreApplication::installTranslator(translator.get());
            module.translator = std::move(translator);
            module.translationFile = candidate;
            return;
        }
    }
}

} // namespace

namespace ModuleRegistry {

void RegisterModule(const QString &moduleFile, void *instance)
{
    if (Module *known = find(moduleFile)) {
        known->instance = instance;
        return;
    }
    Module module;
    module.file = keyOf(moduleFile);
    module.instance = instance;
    loadTranslation(module);
    modules().push_back(std::move(module));
}

void UnregisterModule(const QString &moduleFile)
{
    const QString key = keyOf(moduleFile);
    std::vector<Module> &loaded = modules();
    for (auto it = loaded.begin(); it != loaded.end(); ++it) {
        if (it->file == key) {
            if (it->translator && QCoreApplication::instance()) {
                QCoreApplication::removeTranslator(it->translator.get());
            }
            loaded.erase(it);
            return;
        }
    }
}

QStringList RegisteredModules()
{
    QStringList files;
    for (const Module &module : modules()) {
        files << module.file;
    }
    return files;
}

bool HasTranslation(const QString &moduleFile)
{
    const Module *module = find(moduleFile);
    return module && module->translator;
}

QString TranslationFile(const QString &moduleFile)
{
    const Module *module = find(moduleFile);
    return module ? module->translationFile : QString();
}

void *ModuleInstance(const QString &moduleFile)
{
    const Module *module = find(moduleFile);
    return module ? module->instance : nullptr;
}

} // namespace ModuleRegistry
