#pragma once
// Uniformly distributed whole numbers for the chord screen's start-up choice.

#include <cstdint>
#include <functional>

namespace chords {

// Returns a number in 0 .. upperBound - 1 (upperBound above 0).
using RandomSource = std::function<uint32_t(uint32_t upperBound)>;

// Uniform over 0 .. upperBound - 1 without modulo bias, from a generator seeded
// by the system's entropy source; 0 when upperBound is 0.
uint32_t uniformRandom(uint32_t upperBound);

}  // namespace chords
