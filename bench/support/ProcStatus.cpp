#include "ProcStatus.h"

#include <fstream>
#include <string>

namespace ProcStatus {

qint64 kilobytes(const QByteArray &key)
{
    // /proc files report a size of 0, so read them as a stream.
    std::ifstream status("/proc/self/status");
    const std::string prefix = key.toStdString() + ':';
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(prefix)) {
            // "VmHWM:     12345 kB"
            return std::stoll(line.substr(prefix.size()));
        }
    }
    return -1;
}

} // namespace ProcStatus
