#pragma once

#include <QStringList>

#include <functional>

// Runs a benchmark on each engine named ("sqlite", "postgres"), in order,
// and gives the process's exit status: 0 when every run passed, 1 when one
// failed or threw (the failure goes to standard error under `benchmark`'s
// name, and no later engine runs).
int runEngines(const char *benchmark, const QStringList &engines, const std::function<bool()> &sqlite,
               const std::function<bool()> &postgres);
