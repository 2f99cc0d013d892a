#pragma once
// For the documentation's screenshots: synthetic plucks of a course's string,
// or of both its strings together, one after another, each detuned by some
// cents (a string brought into tune between plucks), read by the guide's real
// analysis hop by hop (locked on the course, if asked), the last buffer
// estimated by the real detector, and shown by the real tuning loop on a
// layout's stand-in elements.

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
#include "tests/guide/GuideSignals.h"
#include "tests/pitch/PluckedString.h"
#include "tests/platform/ui/LayoutControllers.h"
#include "tuner/GuideInput.h"
#include "tuner/PitchInput.h"
#include "tuner/TuningGuide.h"
#include "tuner/ViewController.h"

namespace screenshot_testing {

// One pluck: the course's first string so many cents from its pitch, and
// the second string's cents when both sound (the octave string's from its
// own pitch, an octave above the first's).
struct Pluck {
    double cents;
    std::optional<double> secondCents = std::nullopt;
};

struct PluckedCourse {
    const sound::Course* course;
    std::vector<Pluck> plucks;  // in turn
    bool locked = false;        // the guide locked on the course
};

// Each pluck rings this long before the next: 1.5 s at the capture rate.
inline constexpr size_t kPluckSamples = 21058;
// Both strings, plucked last, ring long enough for the guide to tell how far
// apart they are, and still loud: 2 s.
inline constexpr size_t kPairSamples = 28078;

// One pluck, "-20" or, for both strings, "-1+3"; none when malformed.
inline std::optional<Pluck> parseOnePluck(const std::string& text) {
    try {
        size_t used = 0;
        Pluck pluck{std::stod(text, &used), std::nullopt};
        if (used < text.size() && text[used] == '+') {
            size_t second = 0;
            pluck.secondCents = std::stod(text.substr(used + 1), &second);
            used += 1 + second;
        }
        if (used != text.size()) return std::nullopt;
        return pluck;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// "guide:A4:-20" names A4 20 cents flat; "guide:A4:-40,-25,-3" three plucks
// of A4 brought from 40 cents flat into tune; "guide:A4:-1+3" both A4
// strings together, 1 cent flat and 3 sharp; "guide:E4:0+20" the E4 string
// in tune with its octave string 20 cents sharp; ":lock" after the plucks
// locks the guide on the course. None for anything else.
inline std::optional<PluckedCourse> parsePluck(const std::string& view) {
    const std::string prefix = "guide:";
    const std::string lock = ":lock";
    if (view.rfind(prefix, 0) != 0) return std::nullopt;
    const auto colon = view.find(':', prefix.size());
    if (colon == std::string::npos) return std::nullopt;
    PluckedCourse pluck{sound::courseWithNote(view.substr(prefix.size(), colon - prefix.size())), {}};
    if (!pluck.course) return std::nullopt;
    std::string plucks = view.substr(colon + 1);
    if (plucks.size() > lock.size() && plucks.ends_with(lock)) {
        pluck.locked = true;
        plucks.resize(plucks.size() - lock.size());
    }
    for (size_t at = 0; at <= plucks.size();) {
        const size_t end = std::min(plucks.find(',', at), plucks.size());
        const auto one = parseOnePluck(plucks.substr(at, end - at));
        if (!one) return std::nullopt;
        pluck.plucks.push_back(*one);
        at = end + 1;
    }
    return pluck;
}

// A capture buffer's samples, what the detector reads.
inline constexpr size_t kBufferSamples = pitch::PitchEstimator::kAnalysedBytes / sizeof(int16_t);

// The plucks one after another; the last one only a buffer long, so that the
// detector's buffer and the guide's latest reading hear its start alike,
// unless both strings sound in it.
inline std::vector<int16_t> samplesOf(const PluckedCourse& pluck) {
    const double pitch = tuner::equalTemperedPitch(*pluck.course);
    const double secondPitch = pluck.course->octaveString ? 2.0 * pitch : pitch;
    std::vector<int16_t> samples;
    for (size_t i = 0; i < pluck.plucks.size(); ++i) {
        const Pluck& each = pluck.plucks[i];
        std::vector<guide_testing::CourseString> strings{{pitch_testing::detuned(pitch, each.cents)}};
        if (each.secondCents) strings.push_back({pitch_testing::detuned(secondPitch, *each.secondCents)});
        const size_t length = i + 1 < pluck.plucks.size() ? kPluckSamples
                              : each.secondCents         ? kPairSamples
                                                         : kBufferSamples;
        const auto sounded = guide_testing::stringsTogether(strings, length);
        samples.insert(samples.end(), sounded.begin(), sounded.end());
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

// The tuner screen's loop on `pluck` until the needle rests, drawn on
// `shown`'s elements; the row of courses shows the course locked, if any, as
// the screen's own row would.
inline void tuneOnce(const layout_testing::RecordingController& shown, const PluckedCourse& pluck) {
    tuner::ViewController screen([] {}, std::make_shared<OneBuffer>(pluck), sound::PitchConfirmations::shared(),
                                 std::make_shared<OneBufferOfGuide>(pluck));
    for (const auto& [name, bind] : screen.outlets()) {
        if (auto element = shown.outletView(name)) bind(element);
    }
    if (pluck.locked) screen.lockCourse(pluck.course->number);
    const int64_t chosen = pluck.locked ? pluck.course->number : 0;
    for (const auto& control : platform::controlsSending(shown.view(), "chooseCourse:")) {
        if (auto button = std::dynamic_pointer_cast<platform::Button>(control)) {
            button->setSelected(button->tag() == chosen);
        }
    }
    for (int tick = 0; tick < 20; ++tick) screen.tickFree(nullptr);
}

}  // namespace screenshot_testing
