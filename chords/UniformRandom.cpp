#include "chords/UniformRandom.h"

#include <random>

namespace chords {

uint32_t uniformRandom(uint32_t upperBound) {
    if (upperBound == 0) return 0;
    thread_local std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<uint32_t>(0, upperBound - 1)(generator);
}

}  // namespace chords
