#pragma once

#include <QString>

// Where the benchmarks keep their seeded databases.
namespace BenchPaths {
// The cache of seeded databases: $BENCH_DATA_DIR when set, else
// build/bench-data of the source tree. Created when missing; throws
// std::runtime_error when it cannot be created.
QString dataDir();
} // namespace BenchPaths
