#pragma once

#include <QByteArray>

// Memory figures of this process from /proc/self/status.
namespace ProcStatus {
// The value of `key` ("VmRSS", "VmHWM") in kilobytes; -1 when the file or
// the key is missing.
qint64 kilobytes(const QByteArray &key);
} // namespace ProcStatus
