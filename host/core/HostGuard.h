#pragma once

#include <exception>
#include <functional>

// Where the host dispatches an event it runs the handler through here, so no
// exception ever crosses into Qt: the silent abort is swallowed, any other
// failure is shown to the operator in the error box.
namespace HostGuard {
// Returns true when `action` ran to its end.
bool run(const std::function<void()> &action);
// Shows a failure that reached the host (the message of a std::exception,
// read as UTF-8); does nothing for the silent abort.
void report(const std::exception &failure);
} // namespace HostGuard
