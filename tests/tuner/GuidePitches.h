#pragma once
// Equal-tempered pitches (A4 = 440 Hz) that the guide's screen tests hand it,
// and a pitch detuned by some cents.

#include <cmath>

namespace tuner_tests {

inline double detuned(double frequency, double cents) { return frequency * std::pow(2.0, cents / 1200.0); }

inline constexpr double kA4 = 440.0;
inline constexpr double kE4 = 329.6275569128699;
inline constexpr double kG4 = 391.99543598174927;
inline constexpr double kE5 = 659.2551138257398;
inline constexpr double kD4 = 293.6647679174076;
inline constexpr double kASharp4 = 466.1637615180899;

}  // namespace tuner_tests
