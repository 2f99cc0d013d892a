// The tuning guide on the tuner screen: the nearest course, the offset in
// cents, the way to turn the peg and a needle over -50 to +50 cents. It sits
// beside the match's note, frequency and lamps and changes none of them. The
// guide is worked out again only when a new buffer has been estimated, so a
// tick with nothing new costs no more than before.

#include <cstdio>
#include <optional>
#include <string_view>

#include "tuner/OutletUpdates.h"
#include "tuner/TuningGuide.h"
#include "tuner/ViewController.h"

namespace tuner {
namespace {

// Shown in the course's place while no string is near a course.
constexpr std::string_view kNoCourse = "—";
constexpr std::string_view kNotSpoken = "no string near a course";

struct DirectionTexts {
    std::string_view shown;   // with a symbol that points the way
    std::string_view spoken;  // the words alone, for a screen reader
};

DirectionTexts textsFor(TuningDirection direction) {
    switch (direction) {
        case TuningDirection::Up: return {"▲ tune up", "tune up"};
        case TuningDirection::Down: return {"▼ tune down", "tune down"};
        case TuningDirection::InTune: return {"● in tune", "in tune"};
    }
    return {};
}

}  // namespace

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
        if (guideNeedle) guideNeedle->setValue(std::nullopt, kNotSpoken);
        return;
    }
    // Short texts, each within a string's own storage: a tick makes no allocation.
    char course[24];
    std::snprintf(course, sizeof course, "Course %d · %.*s", guidance->course->number,
                  static_cast<int>(guidance->course->note.size()), guidance->course->note.data());
    setText(guideCourse, course);
    char cents[24];
    std::snprintf(cents, sizeof cents, "%+.1f cents", guidance->cents);
    setText(guideCents, cents);
    const DirectionTexts direction = textsFor(guidance->direction);
    setText(guideDirection, direction.shown);
    if (guideNeedle) {
        char spoken[48];
        std::snprintf(spoken, sizeof spoken, "%+.1f cents, %.*s", guidance->cents,
                      static_cast<int>(direction.spoken.size()), direction.spoken.data());
        guideNeedle->setValue(static_cast<float>(guidance->cents), spoken);
    }
}

}  // namespace tuner
