#include "tuner/TuningGuide.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace tuner {
namespace {

constexpr double kConcertA = 440.0;
constexpr double kCentsPerOctave = 1200.0;
constexpr double kCentsPerSemitone = 100.0;
constexpr int kSemitonesPerOctave = 12;
// A4 is the ninth semitone (from C) of octave 4.
constexpr int kSemitonesFromC0ToA4 = 4 * kSemitonesPerOctave + 9;
// Far enough for any sound; the limit keeps the count of semitones a whole number.
constexpr double kFarthestSemitones = 1200.0;
constexpr std::array<std::string_view, kSemitonesPerOctave> kNoteNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                                          "F#", "G",  "G#", "A",  "A#", "B"};

double centsBetween(double frequency, double reference) { return kCentsPerOctave * std::log2(frequency / reference); }

bool isFrequency(double frequency) { return frequency > 0.0 && std::isfinite(frequency); }

// To a tenth, and never "-0.0": a string a hair flat shows no offset.
double inTenths(double cents) {
    const double shown = std::round(cents * 10.0) / 10.0;
    return shown == 0.0 ? 0.0 : shown;
}

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

std::span<const guide::CoursePitch> guideCourses() {
    static const auto courses = [] {
        std::array<guide::CoursePitch, sound::kCourses.size()> table{};
        for (size_t i = 0; i < table.size(); ++i) {
            table[i] = {sound::kCourses[i].number, coursePitches()[i], sound::kCourses[i].octaveString};
        }
        return table;
    }();
    return courses;
}

TuningDirection directionOf(double cents) {
    const double shown = inTenths(cents);
    return std::abs(shown) <= kInTuneCents ? TuningDirection::InTune
           : shown < 0.0                   ? TuningDirection::Up
                                           : TuningDirection::Down;
}

std::string_view directionSymbol(TuningDirection direction) {
    switch (direction) {
    case TuningDirection::Up:
        return "▲";
    case TuningDirection::Down:
        return "▼";
    case TuningDirection::InTune:
        break;
    }
    return "●";
}

// The guidance to course `index` for a string `offset` cents from its pitch.
Guidance guidanceTo(size_t index, double offset) {
    const double shown = inTenths(offset);
    return Guidance{&sound::kCourses[index], coursePitches()[index], shown, directionOf(shown)};
}

std::optional<Guidance> nearestCourse(double frequency) {
    if (!isFrequency(frequency)) return std::nullopt;
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
    return guidanceTo(nearest, offset);
}

std::optional<Guidance> guideToCourse(double frequency, const sound::Course& course) {
    if (!isFrequency(frequency)) return std::nullopt;
    const auto index = static_cast<size_t>(&course - sound::kCourses.data());
    const double offset = centsBetween(frequency, coursePitches()[index]);
    if (std::abs(offset) > kChosenCourseRangeCents) return std::nullopt;
    return guidanceTo(index, offset);
}

SemitonesAndCents semitonesAndCents(double cents) {
    const double shown = inTenths(cents);  // 99.96 cents is a semitone, as the offset shows it
    const double semitones = std::trunc(shown / kCentsPerSemitone);
    return {static_cast<int>(semitones), inTenths(shown - semitones * kCentsPerSemitone)};
}

bool isWithinRange(const Guidance& guidance) { return std::abs(guidance.cents) <= kGuideRangeCents; }

std::optional<Guidance> guideFrequency(double frequency) {
    const auto guidance = nearestCourse(frequency);
    if (!guidance || !isWithinRange(*guidance)) return std::nullopt;
    return guidance;
}

std::optional<ChromaticNote> chromaticNote(double frequency) {
    if (!isFrequency(frequency)) return std::nullopt;
    const double semitonesFromA4 = centsBetween(frequency, kConcertA) / kCentsPerSemitone;
    if (std::abs(semitonesFromA4) > kFarthestSemitones) return std::nullopt;
    const double nearest = std::round(semitonesFromA4);
    const int fromC0 = static_cast<int>(nearest) + kSemitonesFromC0ToA4;
    // Whole octaves below C0 still name a note (a negative octave), though no string sounds there.
    const int octave = static_cast<int>(std::floor(static_cast<double>(fromC0) / kSemitonesPerOctave));
    const int step = fromC0 - octave * kSemitonesPerOctave;
    return ChromaticNote{kNoteNames[static_cast<size_t>(step)], octave,
                         inTenths((semitonesFromA4 - nearest) * kCentsPerSemitone)};
}

}  // namespace tuner
