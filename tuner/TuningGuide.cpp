#include "tuner/TuningGuide.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace tuner {
namespace {

constexpr double kConcertA = 440.0;
constexpr double kCentsPerOctave = 1200.0;
constexpr double kCentsPerSemitone = 100.0;

double centsBetween(double frequency, double reference) { return kCentsPerOctave * std::log2(frequency / reference); }

// Worked out once: a tick compares against five numbers and calls no pow().
const std::array<double, sound::kCourses.size()>& coursePitches() {
    static const auto pitches = [] {
        std::array<double, sound::kCourses.size()> table{};
        for (size_t i = 0; i < table.size(); ++i) table[i] = equalTemperedPitch(sound::kCourses[i]);
        return table;
    }();
    return pitches;
}

}  // namespace

double equalTemperedPitch(const sound::Course& course) {
    const double fromConcertA = centsBetween(static_cast<double>(course.frequency), kConcertA);
    const double semitones = std::round(fromConcertA / kCentsPerSemitone);
    return kConcertA * std::exp2(semitones * kCentsPerSemitone / kCentsPerOctave);
}

std::optional<Guidance> guideFrequency(double frequency) {
    if (!(frequency > 0.0) || !std::isfinite(frequency)) return std::nullopt;
    const auto& pitches = coursePitches();
    size_t nearest = 0;
    double offset = centsBetween(frequency, pitches[0]);
    for (size_t i = 1; i < pitches.size(); ++i) {
        const double cents = centsBetween(frequency, pitches[i]);
        if (std::abs(cents) < std::abs(offset)) {
            nearest = i;
            offset = cents;
        }
    }
    if (std::abs(offset) > kGuideRangeCents) return std::nullopt;
    double shown = std::round(offset * 10.0) / 10.0;
    if (shown == 0.0) shown = 0.0;  // a string a hair flat is "0.0", not "-0.0"
    const TuningDirection direction = std::abs(shown) <= kInTuneCents ? TuningDirection::InTune
                                      : shown < 0.0                   ? TuningDirection::Up
                                                                      : TuningDirection::Down;
    return Guidance{&sound::kCourses[nearest], pitches[nearest], shown, direction};
}

}  // namespace tuner
