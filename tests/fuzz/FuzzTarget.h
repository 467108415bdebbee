#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Every fuzz target defines the libFuzzer entry point and its own seeds; the same file builds into a libFuzzer
// binary (make fuzz) and into a plain runner that make test runs over the seeds and the saved inputs.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace quillon::fuzz {

/// Inputs made in code (writer-made replays, rules) that start the corpus.
std::vector<std::vector<uint8_t>> Seeds();

} // namespace quillon::fuzz
