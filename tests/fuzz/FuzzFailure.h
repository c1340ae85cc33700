#pragma once

#include <QByteArray>
#include <QString>

// What a fuzz target does when an input breaks one of its rules: writes the
// rule and what broke it straight to file descriptor 2 (the request-line
// target sends the `stderr` stream elsewhere) and aborts, so that the engine
// running the target keeps the input as a crash.
[[noreturn]] void fuzzFailure(const QString &rule, const QByteArray &detail = {});
