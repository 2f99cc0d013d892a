#include "tuner/TuningGuideDisplay.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <span>
#include <string_view>

#include "platform/core/Bundle.h"
#include "tuner/OutletUpdates.h"
#include "tuner/SignedTenths.h"

namespace tuner {
namespace {

// Shown in the course's place while no string sounds.
constexpr std::string_view kNoCourse = "—";

size_t indexOf(TuningDirection direction) { return static_cast<size_t>(direction); }

std::string_view noteOf(const Guidance& guidance) { return guidance.course->note; }

}  // namespace

TuningGuideDisplay::TuningGuideDisplay(const ScreenOutlets& outlets, std::shared_ptr<GuideInput> input)
    : outlets_(outlets), input_(std::move(input)) {}

TuningGuideDisplay::Texts TuningGuideDisplay::textsInLanguageInUse() {
    const auto bundle = platform::Bundle::mainBundle();
    const auto text = [&bundle](const char* key, const char* english) {
        return bundle->localizedString(key, english, "");
    };
    Texts texts;
    texts.course = text("GuideCourse", "Course");
    texts.cents = text("GuideCents", "cents");
    texts.noString = text("GuideNoString", "no string near a course");
    texts.semitone = text("GuideSemitone", "semitone");
    texts.semitones = text("GuideSemitones", "semitones");
    texts.decimalSeparator = bundle->decimalSeparator();
    // The shown way to turn the peg carries a symbol that points it; the spoken one is the words alone.
    struct Way {
        TuningDirection direction;
        const char* key;
        const char* english;
    };
    for (const Way& way : {Way{TuningDirection::Up, "GuideTuneUp", "tune up"},
                           Way{TuningDirection::Down, "GuideTuneDown", "tune down"},
                           Way{TuningDirection::InTune, "SpokenInTune", "in tune"}}) {
        const size_t index = indexOf(way.direction);
        texts.spoken[index] = text(way.key, way.english);
        texts.shown[index] = std::string(directionSymbol(way.direction)) + " " + texts.spoken[index];
    }
    return texts;
}

void TuningGuideDisplay::tick(const LevelLimits& limits) {
    // Only the latest reading shows; those before it are the trace's.
    for (size_t count = taken_.size(); count == taken_.size();) {
        count = input_->takeReadings(taken_);
        if (count == 0) break;
        const guide::GuideReading& latest = taken_[count - 1];
        const auto level = static_cast<double>(latest.level);
        if (level < limits.bottom) {
            clear();
        } else if (level > limits.top && latest.frequency > 0.0) {
            show(latest);
        }
        for (const auto& reading : std::span(taken_).first(count)) trace(reading, limits);
    }
    const auto at = needle_.step();
    // Changes nothing while the needle stands still.
    if (const auto& gauge = outlets_.guideNeedle) gauge->setValue(at, spokenNeedle_);
}

void TuningGuideDisplay::trace(const guide::GuideReading& reading, const LevelLimits& limits) {
    const auto& trace = outlets_.guideTrace;
    if (!trace) return;
    const bool heard = static_cast<double>(reading.level) > limits.top && reading.frequency > 0.0;
    const auto guidance = heard ? guidanceFor(reading.needleFrequency()) : std::nullopt;
    const double seconds = static_cast<double>(reading.heard) / input_->sampleRate();
    trace->add(seconds, guidance ? std::optional(static_cast<float>(guidance->cents)) : std::nullopt, spokenNeedle_);
}

void TuningGuideDisplay::show(const guide::GuideReading& reading) {
    const double frequency = reading.needleFrequency();
    const auto guidance = guidanceFor(frequency);
    const auto note = chromaticNote(frequency);
    if (!guidance || !note) {
        clear();
        return;
    }
    if (chosen_ || isWithinRange(*guidance)) {
        showCourse(*guidance);
    } else {
        showFarFromCourses(*note, *guidance);
    }
    pair_.show(reading.pair);
}

void TuningGuideDisplay::clear() {
    if (!shows_) return;
    shows_ = false;
    setText(outlets_.guideCourse, kNoCourse);
    setText(outlets_.guideCents, "");
    setText(outlets_.guideDirection, "");
    pair_.clear();
    needle_.clear();
    spokenNeedle_ = texts_.noString;
}

void TuningGuideDisplay::choose(std::optional<int> course) {
    chosen_ = nullptr;
    for (const sound::Course& each : sound::kCourses) {
        if (course == each.number) chosen_ = &each;
    }
    input_->choose(course);
    clear();  // what shows was read against another course
}

std::optional<Guidance> TuningGuideDisplay::guidanceFor(double frequency) const {
    return chosen_ ? guideToCourse(frequency, *chosen_) : nearestCourse(frequency);
}

void TuningGuideDisplay::showCourse(const Guidance& guidance) {
    // Short texts, each within a string's own storage.
    char course[64];
    const std::string_view note = noteOf(guidance);
    std::snprintf(course, sizeof course, "%s %d · %.*s", texts_.course.c_str(), guidance.course->number,
                  static_cast<int>(note.size()), note.data());
    setText(outlets_.guideCourse, course);
    char tenths[16];
    const std::string_view offset = signedTenths(guidance.cents, texts_.decimalSeparator, tenths);
    char cents[48];
    std::snprintf(cents, sizeof cents, "%.*s %s", static_cast<int>(offset.size()), offset.data(),
                  texts_.cents.c_str());
    setText(outlets_.guideCents, cents);
    const size_t direction = indexOf(guidance.direction);
    char way[128];
    if (isWithinRange(guidance)) {
        std::snprintf(way, sizeof way, "%s", texts_.spoken[direction].c_str());
    } else {
        // Beyond a semitone, in semitones and whole cents: "tune up 1 semitone + 10 cents".
        const auto [semitones, rest] = semitonesAndCents(guidance.cents);
        const int whole = std::abs(semitones);
        const int left = static_cast<int>(std::lround(std::abs(rest)));
        const int length = std::snprintf(way, sizeof way, "%s %d %s", texts_.spoken[direction].c_str(), whole,
                                         (whole == 1 ? texts_.semitone : texts_.semitones).c_str());
        if (left > 0 && length > 0 && static_cast<size_t>(length) < sizeof way) {
            std::snprintf(way + length, sizeof way - static_cast<size_t>(length), " + %d %s", left,
                          texts_.cents.c_str());
        }
    }
    char shown[160];
    std::snprintf(shown, sizeof shown, "%.*s %s", static_cast<int>(directionSymbol(guidance.direction).size()),
                  directionSymbol(guidance.direction).data(), way);
    setText(outlets_.guideDirection, shown);
    char spoken[192];
    std::snprintf(spoken, sizeof spoken, "%s, %s", cents, way);
    aimNeedle(guidance, spoken);
}

void TuningGuideDisplay::showFarFromCourses(const ChromaticNote& note, const Guidance& guidance) {
    char tenths[16];
    const std::string_view offset = signedTenths(note.cents, texts_.decimalSeparator, tenths);
    char chromatic[48];
    std::snprintf(chromatic, sizeof chromatic, "%.*s%d %.*s", static_cast<int>(note.name.size()), note.name.data(),
                  note.octave, static_cast<int>(offset.size()), offset.data());
    setText(outlets_.guideCourse, chromatic);
    setText(outlets_.guideCents, "");
    // So far off, whole cents say enough.
    const std::string_view course = noteOf(guidance);
    char way[96];
    std::snprintf(way, sizeof way, "%.*s: %s %.0f %s", static_cast<int>(course.size()), course.data(),
                  texts_.spoken[indexOf(guidance.direction)].c_str(), std::abs(guidance.cents),
                  texts_.cents.c_str());
    setText(outlets_.guideDirection, way);
    char spoken[160];
    std::snprintf(spoken, sizeof spoken, "%s, %s", chromatic, way);
    aimNeedle(guidance, spoken);
}

void TuningGuideDisplay::aimNeedle(const Guidance& guidance, std::string_view spoken) {
    shows_ = true;
    spokenNeedle_.assign(spoken);
    const auto& gauge = outlets_.guideNeedle;
    const float minimum = gauge ? gauge->minimumValue() : 0.0f;
    const float maximum = gauge ? gauge->maximumValue() : 0.0f;
    needle_.aim(static_cast<float>(guidance.cents), guidance.course->number, minimum, maximum);
}

}  // namespace tuner
