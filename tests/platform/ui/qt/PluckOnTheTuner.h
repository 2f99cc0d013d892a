#pragma once
// For the documentation's screenshots: a synthetic pluck of a course's string
// detuned by some cents, estimated by the real detector and shown by one tick
// of the real tuning loop on a layout's stand-in elements.

#include <memory>
#include <optional>
#include <string>

#include "pitch/PitchEstimator.h"
#include "pitch/PitchListener.h"
#include "sound/Courses.h"
#include "tests/pitch/PluckedString.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tuner/PitchInput.h"
#include "tuner/TuningGuide.h"
#include "tuner/ViewController.h"

namespace screenshot_testing {

struct PluckedCourse {
    const sound::Course* course;
    double cents;
};

// "guide:A4:-20" names A4 20 cents flat; none for anything else.
inline std::optional<PluckedCourse> parsePluck(const std::string& view) {
    const std::string prefix = "guide:";
    if (view.rfind(prefix, 0) != 0) return std::nullopt;
    const auto colon = view.find(':', prefix.size());
    if (colon == std::string::npos) return std::nullopt;
    const sound::Course* course = sound::courseWithNote(view.substr(prefix.size(), colon - prefix.size()));
    try {
        size_t used = 0;
        const double cents = std::stod(view.substr(colon + 1), &used);
        if (!course || used != view.size() - colon - 1) return std::nullopt;
        return PluckedCourse{course, cents};
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The detector's readings of one buffer, loud.
class OneBuffer final : public tuner::PitchInput {
public:
    explicit OneBuffer(const PluckedCourse& pluck) : detector_(pitch::kCaptureSampleRate) {
        const double frequency = pitch_testing::detuned(tuner::equalTemperedPitch(*pluck.course), pluck.cents);
        const auto samples = pitch_testing::pluckedString({.frequency = frequency}, 4096);
        detector_.setAudioBuffer(samples.data(), static_cast<uint32_t>(samples.size() * sizeof(int16_t)));
    }
    void listen() override {}
    float averagePower() override { return 1.0f; }
    float frequency() override { return detector_.frequency(); }
    double refinedFrequency() override { return detector_.refinedFrequency(); }
    uint64_t estimatedBuffers() override { return detector_.estimatedBuffers(); }

private:
    pitch::PitchEstimator detector_;
};

// One tick of the tuner screen's loop on `pluck`, drawn on `shown`'s elements.
inline void tuneOnce(const layout_testing::RecordingController& shown, const PluckedCourse& pluck) {
    tuner::ViewController screen([] {}, std::make_shared<OneBuffer>(pluck));
    for (const auto& [name, bind] : screen.outlets()) {
        if (auto element = shown.outletView(name)) bind(element);
    }
    screen.tickFree(nullptr);
}

}  // namespace screenshot_testing
