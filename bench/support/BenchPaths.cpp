#include "BenchPaths.h"

#include <QDir>

#include <stdexcept>

namespace BenchPaths {

QString dataDir()
{
    QString dir = qEnvironmentVariable("BENCH_DATA_DIR");
    if (dir.isEmpty()) {
        dir = QStringLiteral(BENCH_DEFAULT_DATA_DIR);
    }
    if (!QDir().mkpath(dir)) {
        throw std::runtime_error(QStringLiteral("cannot create the benchmark data folder %1").arg(dir).toStdString());
    }
    return dir;
}

} // namespace BenchPaths
