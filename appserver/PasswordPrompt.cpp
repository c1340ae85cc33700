#include "PasswordPrompt.h"

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

QString readLine(const QString &prompt)
{
    std::fprintf(stderr, "%s", prompt.toUtf8().constData());
    std::fflush(stderr);
    const bool terminal = ::isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal) {
        ::tcgetattr(STDIN_FILENO, &saved);
        termios hidden = saved;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fprintf(stderr, "\n");
    }
    if (!read) {
        throw std::runtime_error("nenhuma senha foi digitada.");
    }
    return QString::fromStdString(line);
}

} // namespace

namespace PasswordPrompt {

QString askTwice(const QString &prompt)
{
    const QString first = readLine(prompt + QStringLiteral(": "));
    const QString second = readLine(QStringLiteral("Repita a senha: "));
    if (first != second) {
        throw std::runtime_error("as duas senhas digitadas são diferentes.");
    }
    return first;
}

} // namespace PasswordPrompt
