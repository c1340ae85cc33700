#include "EngineRuns.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

int runEngines(const char *benchmark, const QStringList &engines, const std::function<bool()> &sqlite,
               const std::function<bool()> &postgres)
{
    bool passed = true;
    try {
        for (const QString &engine : engines) {
            if (engine == QLatin1String("sqlite")) {
                passed = sqlite() && passed;
            } else if (engine == QLatin1String("postgres")) {
                passed = postgres() && passed;
            } else {
                throw std::runtime_error(QStringLiteral("unknown engine %1").arg(engine).toStdString());
            }
        }
    } catch (const std::exception &error) {
        std::fprintf(stderr, "%s: %s\n", benchmark, error.what());
        return 1;
    }
    return passed ? 0 : 1;
}
