#pragma once

#include <exception>

// The host's silent abort: an operation that has already told the operator
// what is wrong (or decided to say nothing) throws this to stop. Where events
// are dispatched the host swallows it without a message.
class Abort final : public std::exception {
public:
    const char *what() const noexcept override { return "operation abandoned"; }
};
