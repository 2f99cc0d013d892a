#pragma once
// The guide's test signals — plucked strings after a stretch of room noise,
// steady tones of chosen partials — and the readings the guide makes of them
// hop by hop.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <span>
#include <vector>

#include "guide/GuideAnalyzer.h"
#include "tests/pitch/PluckedString.h"

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
        samples[n] = static_cast<int16_t>(std::clamp(samples[n] + std::lround(value / loudest * level * 32767.0),
                                                     -32768L, 32767L));
    }
    return samples;
}

// The guide's readings of `samples`, one per hop.
inline std::vector<guide::GuideReading> readingsOf(std::span<const int16_t> samples) {
    guide::GuideAnalyzer analyzer(kCaptureRate);
    std::vector<guide::GuideReading> readings;
    for (size_t first = 0; first < samples.size(); first += guide::kHopSamples) {
        readings.push_back(analyzer.take(samples.subspan(first, std::min(guide::kHopSamples, samples.size() - first))));
    }
    return readings;
}

}  // namespace guide_testing
