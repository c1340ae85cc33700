#pragma once

#include "TNetConnection.h"

#include <memory>

// A client connection to "CXL04100.rdmCancelamento" on the loopback port,
// opened in the calling thread (a connection belongs to the thread that
// uses it), throwing on every failure, with a call timeout long enough for
// the largest listing.
namespace BenchConnection {
// Throws std::runtime_error when the server cannot be reached. With
// `notices` the connection asks for change notices, as the screen does.
std::unique_ptr<TNetConnection> open(quint16 port, bool notices = false);
} // namespace BenchConnection
