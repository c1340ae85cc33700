#pragma once

#include <cstddef>
#include <cstdint>

// The entry point of a fuzz target, with libFuzzer's name and contract: one
// input per call, any return value but 0 reserved, a broken rule is a crash.
// Each fuzz executable defines it; libFuzzer or MutationDriver calls it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
