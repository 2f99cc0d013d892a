#pragma once
// The guide's test signals — plucked strings after a stretch of room noise,
// steady tones of chosen partials — and the readings the guide makes of them
// hop by hop.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <optional>
#include <span>
#include <vector>

#include "guide/GuideAnalyzer.h"
#include "tests/pitch/PluckedString.h"
#include "tuner/TuningGuide.h"

namespace guide_testing {

using pitch_testing::kCaptureRate;

// The five open pitches, by course.
inline constexpr double kCoursePitches[] = {pitch_testing::kE5, pitch_testing::kA4, pitch_testing::kE4,
                                            pitch_testing::kC5, pitch_testing::kG4};
// The offsets of the accuracy table, in cents.
inline constexpr double kTableCents[] = {-45.0, -20.0, -5.0, 0.0, 5.0, 20.0, 45.0};

// `leadIn` samples of the room's noise alone, then `pluck` for `count` samples.
inline std::vector<int16_t> pluckAfter(size_t leadIn, const pitch_testing::Pluck& pluck, size_t count) {
    pitch_testing::Pluck room = pluck;
    room.level = 0.0;
    room.noiseSeed = pluck.noiseSeed + 1;
    auto samples = pitch_testing::pluckedString(room, leadIn);
    const auto string = pitch_testing::pluckedString(pluck, count);
    samples.insert(samples.end(), string.begin(), string.end());
    return samples;
}

// A steady tone at `frequency` whose partials have the given strengths (the
// first is the fundamental's), the loudest at `level` of full scale, with a
// little noise.
inline std::vector<int16_t> steadyTone(double frequency, std::span<const double> strengths, size_t count,
                                       double level = 0.3) {
    const double loudest = *std::max_element(strengths.begin(), strengths.end());
    auto samples = pitch_testing::pluckedString({.level = 0.0}, count);  // the noise alone
    for (size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / kCaptureRate;
        double value = 0.0;
        for (size_t h = 0; h < strengths.size(); ++h) {
            const double number = static_cast<double>(h + 1);
            value += strengths[h] * std::sin(2.0 * std::numbers::pi * frequency * number * t + 0.7 * number);
        }
        samples[n] = static_cast<int16_t>(
            std::clamp(samples[n] + std::lround(value / loudest * level * 32767.0), -32768L, 32767L));
    }
    return samples;
}

// One string of a course, as the pair's signals sound it.
struct CourseString {
    double frequency;
    double level = 0.1;  // the fundamental's starting amplitude, of full scale
    // Stretches the partials as a stiff string's: the h-th sounds at
    // h f sqrt((1 + B h^2) / (1 + B)), so that the first is at f.
    double stiffness = 0.0;
    double phase = 0.0;  // radians, of every partial at the start
};

// `count` samples of `strings` plucked together: each with the plucked
// string's partials and fading (tests/pitch/PluckedString.h), and a little noise.
inline std::vector<int16_t> stringsTogether(std::span<const CourseString> strings, size_t count,
                                            uint32_t noiseSeed = 1) {
    constexpr double kNoise = 0.002;
    std::vector<int16_t> samples(count);
    uint32_t noiseState = noiseSeed;
    for (size_t n = 0; n < count; ++n) {
        const double t = static_cast<double>(n) / kCaptureRate;
        double value = 0.0;
        for (const CourseString& string : strings) {
            for (int h = 1; h <= 5; ++h) {
                const double stretch = std::sqrt((1.0 + string.stiffness * h * h) / (1.0 + string.stiffness));
                value += string.level * pitch_testing::kPartialStrengths[h - 1] *
                         std::exp(-t * h / pitch_testing::kFadeSeconds) *
                         std::sin(2.0 * std::numbers::pi * string.frequency * h * stretch * t + string.phase * h);
            }
        }
        noiseState = noiseState * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(noiseState >> 8) / (1 << 24) - 0.5) * 2.0 * kNoise;
        samples[n] = static_cast<int16_t>(std::clamp(std::lround((value + noise) * 32767.0), -32768L, 32767L));
    }
    return samples;
}

// The guide's readings of `samples`, one per hop, of the nearest course or the chosen one.
inline std::vector<guide::GuideReading> readingsOf(std::span<const int16_t> samples,
                                                   std::optional<int> chosenCourse = std::nullopt) {
    const auto analyzer = std::make_unique<guide::GuideAnalyzer>(kCaptureRate, tuner::guideCourses());
    analyzer->choose(chosenCourse);
    std::vector<guide::GuideReading> readings;
    for (size_t first = 0; first < samples.size(); first += guide::kHopSamples) {
        readings.push_back(
            analyzer->take(samples.subspan(first, std::min(guide::kHopSamples, samples.size() - first))));
    }
    return readings;
}

}  // namespace guide_testing
