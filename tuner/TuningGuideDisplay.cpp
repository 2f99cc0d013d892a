// The tuning guide on the tuner screen: the nearest course, the offset in
// cents, the way to turn the peg and a needle over -50 to +50 cents. It sits
// beside the match's note, frequency and lamps and changes none of them. The
// guide is worked out again only when a new buffer has been estimated, so a
// tick with nothing new costs no more than before.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <string_view>

#include "platform/core/Bundle.h"
#include "tuner/OutletUpdates.h"
#include "tuner/TuningGuide.h"
#include "tuner/ViewController.h"

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

ViewController::GuideTexts ViewController::guideTextsInLanguageInUse() {
    const auto& bundle = platform::Bundle::mainBundle();
    const auto text = [&bundle](const char* key, const char* english) { return bundle.localizedString(key, english, ""); };
    GuideTexts texts;
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

void ViewController::guideLatestBuffer() {
    const uint64_t buffer = pitchInput_->estimatedBuffers();
    if (guideShowsBuffer_ && buffer == guidedBuffer_) return;
    guideShowsBuffer_ = true;
    guidedBuffer_ = buffer;
    displayGuide(guideFrequency(pitchInput_->refinedFrequency()));
}

void ViewController::clearGuide() {
    if (!guideShowsBuffer_) return;
    guideShowsBuffer_ = false;
    displayGuide(std::nullopt);
}

void ViewController::displayGuide(const std::optional<Guidance>& guidance) {
    if (!guidance) {
        setText(guideCourse, kNoCourse);
        setText(guideCents, "");
        setText(guideDirection, "");
        if (guideNeedle) guideNeedle->setValue(std::nullopt, guideTexts_.noString);
        return;
    }
    // Short texts, each within a string's own storage: a tick makes no allocation.
    char course[64];
    std::snprintf(course, sizeof course, "%s %d · %.*s", guideTexts_.course.c_str(), guidance->course->number,
                  static_cast<int>(guidance->course->note.size()), guidance->course->note.data());
    setText(guideCourse, course);
    char tenths[16];
    const std::string_view offset = signedTenths(guidance->cents, guideTexts_.decimalSeparator, tenths);
    char cents[48];
    std::snprintf(cents, sizeof cents, "%.*s %s", static_cast<int>(offset.size()), offset.data(),
                  guideTexts_.cents.c_str());
    setText(guideCents, cents);
    const size_t direction = indexOf(guidance->direction);
    setText(guideDirection, guideTexts_.shown[direction]);
    if (guideNeedle) {
        char spoken[128];
        std::snprintf(spoken, sizeof spoken, "%s, %s", cents, guideTexts_.spoken[direction].c_str());
        guideNeedle->setValue(static_cast<float>(guidance->cents), spoken);
    }
}

}  // namespace tuner
