#pragma once
// Synthetic plucked strings for the detector's tests and benchmarks: a
// fundamental and four harmonics of falling strength, each fading like a
// real string's (the higher ones faster), at a moderate level, with a little
// noise. A loud pure sine is no model of a string: on one, a harmonic sum
// rightly hears the octave below as well.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "pitch/CaptureFormat.h"

namespace pitch_testing {

inline constexpr double kCaptureRate = pitch::kCaptureSampleRate;
// The same rate as a whole number, for counts of samples and a file's header.
inline constexpr auto kSamplesPerSecond = static_cast<uint32_t>(kCaptureRate);

// The five open pitches (A4 = 440 Hz, equal temperament).
inline constexpr double kE5 = 659.2551138257398;
inline constexpr double kA4 = 440.0;
inline constexpr double kE4 = 329.6275569128699;
inline constexpr double kC5 = 523.2511306011972;
inline constexpr double kG4 = 391.99543598174927;

inline double detuned(double frequency, double cents) { return frequency * std::pow(2.0, cents / 1200.0); }
inline double centsBetween(double measured, double reference) { return 1200.0 * std::log2(measured / reference); }

// The string's partials' starting strengths, the fundamental's first, and the
// fundamental's time constant: the h-th partial fades h times as fast.
inline constexpr double kPartialStrengths[] = {1.0, 0.6, 0.4, 0.25, 0.15};
inline constexpr double kFadeSeconds = 1.2;

struct Pluck {
    double frequency = kA4;
    double sampleRate = kCaptureRate;
    double level = 0.1;    // the fundamental's starting amplitude, of full scale
    double phase = 0.0;    // radians, shared by the partials' starting phases
    double noise = 0.002;  // amplitude of the added noise, of full scale
    uint32_t noiseSeed = 1;
};

// `count` samples of the pluck, from the moment the string is struck.
inline std::vector<int16_t> pluckedString(const Pluck& pluck, size_t count) {
    std::vector<int16_t> samples(count);
    uint32_t noiseState = pluck.noiseSeed;
    for (size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / pluck.sampleRate;
        double value = 0.0;
        for (int h = 1; h <= 5; ++h) {
            const double fade = std::exp(-t * h / kFadeSeconds);
            value += kPartialStrengths[h - 1] * fade *
                     std::sin(2.0 * std::numbers::pi * pluck.frequency * h * t + pluck.phase * h);
        }
        noiseState = noiseState * 1664525u + 1013904223u;  // a fixed, reproducible noise
        const double noise = (static_cast<double>(noiseState >> 8) / (1 << 24) - 0.5) * 2.0 * pluck.noise;
        samples[n] = static_cast<int16_t>(std::lround((value * pluck.level + noise) * 32767.0));
    }
    return samples;
}

// A source that hands `samples` out piece by piece, as a recording reader
// does, and then nothing. `samples` must outlive it.
inline auto piecesOf(const std::vector<int16_t>& samples) {
    return [&samples, position = size_t{0}](std::span<int16_t> buffer) mutable {
        const size_t count = std::min(buffer.size(), samples.size() - position);
        std::copy_n(samples.begin() + static_cast<std::ptrdiff_t>(position), count, buffer.begin());
        position += count;
        return count;
    };
}

}  // namespace pitch_testing
