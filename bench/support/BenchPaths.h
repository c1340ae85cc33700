#pragma once

#include <QString>

// Where the benchmarks find the server and keep their seeded databases.
namespace BenchPaths {
// The `appserver` executable built in the same build folder.
QString appserver();
// The cache of seeded databases: $BENCH_DATA_DIR when set, else
// build/bench-data of the source tree. Created when missing; throws
// std::runtime_error when it cannot be created.
QString dataDir();
} // namespace BenchPaths
