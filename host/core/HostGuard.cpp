#include "HostGuard.h"

#include "Abort.h"
#include "HostDialogs.h"

#include <QString>

#include <cstdio>
#include <stdexcept>

namespace {

// Writes a failure where no box can show it (a tool without dialogs, or the
// box itself failing): the operator's console is the last resort, and the
// guard must never throw back into the event loop.
void writeToConsole(const QString &message)
{
    std::fprintf(stderr, "Erro: %s\n", message.toUtf8().constData());
    std::fflush(stderr);
}

void showError(const QString &message)
{
    HostDialogs *dialogs = nullptr;
    try {
        dialogs = &HostDialogs::current();
    } catch (const std::logic_error &) {
        writeToConsole(message);
        return;
    }
    try {
        dialogs->showMessage(HostDialogs::Icon::Error, QStringLiteral("Erro"), message);
    } catch (...) {
        writeToConsole(message);
    }
}

} // namespace

namespace HostGuard {

bool run(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const Abort &) {
        return false;
    } catch (const std::exception &failure) {
        report(failure);
        return false;
    } catch (...) {
        showError(QStringLiteral("Erro inesperado."));
        return false;
    }
}

void report(const std::exception &failure)
{
    if (dynamic_cast<const Abort *>(&failure)) {
        return;
    }
    showError(QString::fromUtf8(failure.what()));
}

} // namespace HostGuard
