#pragma once
// For the documentation's screenshots: a synthetic pluck of a course's string
// detuned by some cents, estimated by the real detector and read by the
// guide's real analysis, and shown by the real tuning loop on a layout's
// stand-in elements.

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "guide/GuideAnalyzer.h"
#include "pitch/PitchEstimator.h"
#include "pitch/PitchListener.h"
#include "sound/Courses.h"
#include "tests/pitch/PluckedString.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tuner/GuideInput.h"
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

// A buffer's worth of the pluck.
inline std::vector<int16_t> samplesOf(const PluckedCourse& pluck) {
    const double frequency = pitch_testing::detuned(tuner::equalTemperedPitch(*pluck.course), pluck.cents);
    return pitch_testing::pluckedString({.frequency = frequency}, 4096);
}

// The detector's readings of the pluck's buffer, loud.
class OneBuffer final : public tuner::PitchInput {
public:
    explicit OneBuffer(const PluckedCourse& pluck) : detector_(pitch::kCaptureSampleRate) {
        const auto samples = samplesOf(pluck);
        detector_.setAudioBuffer(samples.data(), static_cast<uint32_t>(samples.size() * sizeof(int16_t)));
    }
    void listen() override {}
    float averagePower() override { return 1.0f; }
    float frequency() override { return detector_.frequency(); }

private:
    pitch::PitchEstimator detector_;
};

// The guide's readings of the pluck's buffer, hop by hop, taken at once.
class OneBufferOfGuide final : public tuner::GuideInput {
public:
    explicit OneBufferOfGuide(const PluckedCourse& pluck) {
        guide::GuideAnalyzer analyzer(pitch::kCaptureSampleRate);
        const auto samples = samplesOf(pluck);
        for (size_t at = 0; at + guide::kHopSamples <= samples.size(); at += guide::kHopSamples) {
            readings_.push_back(analyzer.take(std::span(samples).subspan(at, guide::kHopSamples)));
        }
    }
    void listen() override {}
    size_t takeReadings(std::span<guide::GuideReading> out) override {
        const size_t count = std::min(out.size(), readings_.size() - taken_);
        std::copy_n(readings_.begin() + static_cast<std::ptrdiff_t>(taken_), count, out.begin());
        taken_ += count;
        return count;
    }
    double sampleRate() const override { return pitch::kCaptureSampleRate; }

private:
    std::vector<guide::GuideReading> readings_;
    size_t taken_ = 0;
};

// The tuner screen's loop on `pluck` until the needle rests, drawn on `shown`'s elements.
inline void tuneOnce(const layout_testing::RecordingController& shown, const PluckedCourse& pluck) {
    tuner::ViewController screen([] {}, std::make_shared<OneBuffer>(pluck), sound::PitchConfirmations::shared(),
                                 std::make_shared<OneBufferOfGuide>(pluck));
    for (const auto& [name, bind] : screen.outlets()) {
        if (auto element = shown.outletView(name)) bind(element);
    }
    for (int tick = 0; tick < 20; ++tick) screen.tickFree(nullptr);
}

}  // namespace screenshot_testing
