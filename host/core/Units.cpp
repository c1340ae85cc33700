#include "Units.h"

#include <QHash>

namespace {

struct Registry {
    QHash<QString, int> users;
    QStringList log;
};

Registry &registry()
{
    static Registry units;
    return units;
}

} // namespace

namespace UnitRegistry {

void InitializeUnit(const QString &name, const std::function<void()> &init)
{
    Registry &units = registry();
    if (++units.users[name] > 1) {
        return;
    }
    const qsizetype logEntry = units.log.size();
    units.log.append(name);
    try {
        if (init) {
            init();
        }
    } catch (...) {
        units.users.remove(name);
        units.log.removeAt(logEntry);
        throw;
    }
}

void FinalizeUnit(const QString &name, const std::function<void()> &fin)
{
    Registry &units = registry();
    const auto found = units.users.find(name);
    if (found == units.users.end()) {
        return;
    }
    if (--*found > 0) {
        return;
    }
    units.users.erase(found);
    units.log.append(QLatin1Char('-') + name);
    if (fin) {
        fin();
    }
}

QStringList InitializationLog()
{
    return registry().log;
}

void ClearLog()
{
    registry().log.clear();
}

} // namespace UnitRegistry
