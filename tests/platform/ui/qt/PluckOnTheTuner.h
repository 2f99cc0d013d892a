#pragma once
// For the documentation's screenshots: synthetic plucks of a course's string,
// one after another, each detuned by some cents (a string brought into tune
// between plucks), read by the guide's real analysis hop by hop, the last
// buffer estimated by the real detector, and shown by the real tuning loop on
// a layout's stand-in elements.

#include <algorithm>
#include <memory>
#include <optional>
#include <span>
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
    std::vector<double> cents;  // of each pluck in turn
};

// Each pluck rings this long before the next: 1.5 s at the capture rate.
inline constexpr size_t kPluckSamples = 21058;

// "guide:A4:-20" names A4 20 cents flat; "guide:A4:-40,-25,-3" three plucks
// of A4 brought from 40 cents flat into tune; none for anything else.
inline std::optional<PluckedCourse> parsePluck(const std::string& view) {
    const std::string prefix = "guide:";
    if (view.rfind(prefix, 0) != 0) return std::nullopt;
    const auto colon = view.find(':', prefix.size());
    if (colon == std::string::npos) return std::nullopt;
    PluckedCourse pluck{sound::courseWithNote(view.substr(prefix.size(), colon - prefix.size())), {}};
    if (!pluck.course) return std::nullopt;
    try {
        for (size_t at = colon + 1; at <= view.size();) {
            const size_t end = std::min(view.find(',', at), view.size());
            size_t used = 0;
            pluck.cents.push_back(std::stod(view.substr(at, end - at), &used));
            if (used != end - at) return std::nullopt;
            at = end + 1;
        }
        return pluck;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A capture buffer's samples, what the detector reads.
inline constexpr size_t kBufferSamples = pitch::PitchEstimator::kAnalysedBytes / sizeof(int16_t);

// The plucks one after another; the last one only a buffer long, so that the
// detector's buffer and the guide's latest reading hear its start alike.
inline std::vector<int16_t> samplesOf(const PluckedCourse& pluck) {
    std::vector<int16_t> samples;
    for (size_t i = 0; i < pluck.cents.size(); ++i) {
        const double frequency = pitch_testing::detuned(tuner::equalTemperedPitch(*pluck.course), pluck.cents[i]);
        const size_t length = i + 1 < pluck.cents.size() ? kPluckSamples : kBufferSamples;
        const auto string = pitch_testing::pluckedString({.frequency = frequency}, length);
        samples.insert(samples.end(), string.begin(), string.end());
    }
    return samples;
}

// The detector's readings of the last buffer, loud.
class OneBuffer final : public tuner::PitchInput {
public:
    explicit OneBuffer(const PluckedCourse& pluck) : detector_(pitch::kCaptureSampleRate) {
        const auto samples = samplesOf(pluck);
        const auto last = std::span(samples).last(kBufferSamples);
        detector_.setAudioBuffer(last.data(), static_cast<uint32_t>(last.size() * sizeof(int16_t)));
    }
    void listen() override {}
    float averagePower() override { return 1.0f; }
    float frequency() override { return detector_.frequency(); }

private:
    pitch::PitchEstimator detector_;
};

// The guide's readings of the plucks, hop by hop, taken at once.
class OneBufferOfGuide final : public tuner::GuideInput {
public:
    explicit OneBufferOfGuide(const PluckedCourse& pluck) : samples_(samplesOf(pluck)) {}
    void listen() override {}
    // Read anew as the chosen course, from the first pluck on.
    void choose(std::optional<int> course) override {
        chosen_ = course;
        readings_.clear();
        taken_ = 0;
    }
    size_t takeReadings(std::span<guide::GuideReading> out) override {
        if (readings_.empty()) readAll();
        const size_t count = std::min(out.size(), readings_.size() - taken_);
        std::copy_n(readings_.begin() + static_cast<std::ptrdiff_t>(taken_), count, out.begin());
        taken_ += count;
        return count;
    }
    double sampleRate() const override { return pitch::kCaptureSampleRate; }

private:
    void readAll() {
        const auto analyzer = std::make_unique<guide::GuideAnalyzer>(pitch::kCaptureSampleRate, tuner::guideCourses());
        analyzer->choose(chosen_);
        for (size_t at = 0; at + guide::kHopSamples <= samples_.size(); at += guide::kHopSamples) {
            readings_.push_back(analyzer->take(std::span(samples_).subspan(at, guide::kHopSamples)));
        }
    }

    std::vector<int16_t> samples_;
    std::optional<int> chosen_;
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
