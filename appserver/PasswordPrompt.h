#pragma once

#include <QString>

// Reads a password from the terminal without showing it (from standard
// input as plain lines when it is not a terminal, for scripts).
namespace PasswordPrompt {
// Asks twice; throws std::runtime_error when the two differ or nothing
// could be read.
QString askTwice(const QString &prompt);
} // namespace PasswordPrompt
