#include "tuner/TuningGuideDisplay.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/core/Bundle.h"
#include "tuner/OutletUpdates.h"

namespace tuner {
namespace {

// Shown in the course's place while no string is near a course.
constexpr std::string_view kNoCourse = "—";

size_t indexOf(TuningDirection direction) { return static_cast<size_t>(direction); }

// The offset with its sign and one decimal ("+12.3", "-0.4"), with the
// language's decimal separator ("-0,4" in Spanish) whatever the process's
// locale, and without allocating.
std::string_view signedTenths(double cents, char decimalSeparator, char (&out)[16]) {
    char* first = out + 1;
    const auto end = std::to_chars(first, out + sizeof out, cents, std::chars_format::fixed, 1).ptr;
    std::replace(first, end, '.', decimalSeparator);
    if (*first != '-') *--first = '+';
    return {first, static_cast<size_t>(end - first)};
}

}  // namespace

TuningGuideDisplay::TuningGuideDisplay(const ScreenOutlets& outlets, std::shared_ptr<PitchInput> input)
    : outlets_(outlets), input_(std::move(input)) {}

TuningGuideDisplay::Texts TuningGuideDisplay::textsInLanguageInUse() {
    const auto& bundle = platform::Bundle::mainBundle();
    const auto text = [&bundle](const char* key, const char* english) {
        return bundle.localizedString(key, english, "");
    };
    Texts texts;
    texts.course = text("GuideCourse", "Course");
    texts.cents = text("GuideCents", "cents");
    texts.noString = text("GuideNoString", "no string near a course");
    texts.decimalSeparator = bundle.decimalSeparator();
    // The shown way to turn the peg carries a symbol that points it; the spoken one is the words alone.
    struct Way {
        TuningDirection direction;
        const char* symbol;
        const char* key;
        const char* english;
    };
    for (const Way& way : {Way{TuningDirection::Up, "▲", "GuideTuneUp", "tune up"},
                           Way{TuningDirection::Down, "▼", "GuideTuneDown", "tune down"},
                           Way{TuningDirection::InTune, "●", "SpokenInTune", "in tune"}}) {
        const size_t index = indexOf(way.direction);
        texts.spoken[index] = text(way.key, way.english);
        texts.shown[index] = std::string(way.symbol) + " " + texts.spoken[index];
    }
    return texts;
}

void TuningGuideDisplay::showLatestBuffer() {
    const uint64_t buffer = input_->estimatedBuffers();
    if (showsBuffer_ && buffer == shownBuffer_) return;
    showsBuffer_ = true;
    shownBuffer_ = buffer;
    display(guideFrequency(input_->refinedFrequency()));
}

void TuningGuideDisplay::clear() {
    if (!showsBuffer_) return;
    showsBuffer_ = false;
    display(std::nullopt);
}

void TuningGuideDisplay::display(const std::optional<Guidance>& guidance) {
    const auto& needle = outlets_.guideNeedle;
    if (!guidance) {
        setText(outlets_.guideCourse, kNoCourse);
        setText(outlets_.guideCents, "");
        setText(outlets_.guideDirection, "");
        if (needle) needle->setValue(std::nullopt, texts_.noString);
        return;
    }
    // Short texts, each within a string's own storage: a tick makes no allocation.
    char course[64];
    std::snprintf(course, sizeof course, "%s %d · %.*s", texts_.course.c_str(), guidance->course->number,
                  static_cast<int>(guidance->course->note.size()), guidance->course->note.data());
    setText(outlets_.guideCourse, course);
    char tenths[16];
    const std::string_view offset = signedTenths(guidance->cents, texts_.decimalSeparator, tenths);
    char cents[48];
    std::snprintf(cents, sizeof cents, "%.*s %s", static_cast<int>(offset.size()), offset.data(),
                  texts_.cents.c_str());
    setText(outlets_.guideCents, cents);
    const size_t direction = indexOf(guidance->direction);
    setText(outlets_.guideDirection, texts_.shown[direction]);
    if (needle) {
        char spoken[128];
        std::snprintf(spoken, sizeof spoken, "%s, %s", cents, texts_.spoken[direction].c_str());
        needle->setValue(static_cast<float>(guidance->cents), spoken);
    }
}

}  // namespace tuner
