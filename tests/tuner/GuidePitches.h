#pragma once
// Equal-tempered pitches (A4 = 440 Hz) that the guide's screen tests hand it:
// the courses' own, as the synthetic strings have them, and two notes between
// courses; and a pitch detuned by some cents.

#include "tests/pitch/PluckedString.h"

namespace tuner_tests {

using pitch_testing::detuned;
using pitch_testing::kA4;
using pitch_testing::kE4;
using pitch_testing::kE5;
using pitch_testing::kG4;
inline constexpr double kD4 = 293.6647679174076;
inline constexpr double kASharp4 = 466.1637615180899;

}  // namespace tuner_tests
