#pragma once
// A tuner screen on the plain platform for one test: every outlet is a fresh
// element of its kind, the readings come from a hand-held pitch input, the
// rating prompt's requests are counted, and the process-wide values start as
// in a new program.

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/PlainAudioPlayer.h"
#include "tests/support/PlainPlatform.h"
#include "tuner/PitchInput.h"
#include "tuner/ViewController.h"

namespace tuner_tests {

// Readings a test sets by hand.
class HeldPitchInput final : public tuner::PitchInput {
public:
    void listen() override { ++listenCalls; }
    float averagePower() override {
        ++readings;
        return level;
    }
    float frequency() override { return frequency_; }
    double refinedFrequency() override { return refined; }
    uint64_t estimatedBuffers() override { return buffers; }
    // A new buffer: its refined frequency is the bin's until a test says otherwise.
    void hold(float newLevel, float newFrequency) {
        level = newLevel;
        frequency_ = newFrequency;
        refined = newFrequency;
        ++buffers;
    }

    float level = 0.0f;
    float frequency_ = 0.0f;
    double refined = 0.0;
    uint64_t buffers = 0;
    int listenCalls = 0;
    int readings = 0;
};

// A level well above every sensitivity level's top limit.
inline constexpr float kLoud = 0.1f;
// A level below every sensitivity level's bottom limit.
inline constexpr float kQuiet = 0.0005f;

class TunerScreenTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override;

    // A loaded screen (viewDidLoad has run) whose outlets are all connected;
    // the slider runs from 0 to 10 at 5, the switches are on, the chart shows.
    std::shared_ptr<tuner::ViewController> makeScreen(std::shared_ptr<tuner::PitchInput> pitchInput = nullptr);
    // A loaded screen that has appeared once.
    std::shared_ptr<tuner::ViewController> makeAppearedScreen();

    // One tick of the screen's timer.
    void tick() { advance(tuner::ViewController::kTickInterval); }
    // Runs the clock on tick by tick, so that the clock stays in step with
    // the timer and every tick falls due exactly at the end of an advance.
    void runFor(double seconds) {
        const auto ticks = std::lround(seconds / tuner::ViewController::kTickInterval);
        for (long i = 0; i < ticks; ++i) tick();
    }
    // Holds a reading and lets one tick see it.
    void tickWith(float level, float frequency) {
        input->hold(level, frequency);
        tick();
    }

    // The picture's name in `view`; empty when it shows none.
    static std::string pictureIn(const std::shared_ptr<platform::ImageView>& view);
    // The times at which a sound file started, by name.
    static std::vector<double> startsOf(const std::string& fileName);

    std::shared_ptr<HeldPitchInput> input = std::make_shared<HeldPitchInput>();
    int reviewRequests = 0;
};

}  // namespace tuner_tests
