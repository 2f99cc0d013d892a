#pragma once
// A tuner screen on the plain platform for one test: every outlet is a fresh
// element of its kind, the readings come from a hand-held pitch input and a
// hand-held guide input, the
// rating prompt's requests are counted, the record of confirmed pitches
// starts empty, as in a new program, and the screen holds a row of buttons
// that choose the guide's course.

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/PlainAudioPlayer.h"
#include "sound/PitchConfirmations.h"
#include "tests/support/PlainPlatform.h"
#include "tests/tuner/HeldGuideInput.h"
#include "tests/tuner/HeldPitchInput.h"
#include "tuner/PitchInput.h"
#include "tuner/ViewController.h"

namespace tuner_tests {

// A level well above every sensitivity level's top limit.
inline constexpr float kLoud = 0.1f;
// A level below every sensitivity level's bottom limit.
inline constexpr float kQuiet = 0.0005f;

class TunerScreenTest : public testing_support::PlainPlatformTest {
protected:
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
    std::shared_ptr<HeldGuideInput> guideInput = std::make_shared<HeldGuideInput>();
    // The screens' record of confirmed pitches, this test's own.
    std::shared_ptr<sound::PitchConfirmations> confirmations = std::make_shared<sound::PitchConfirmations>();
    int reviewRequests = 0;
    // The row of courses beside the guide: Auto, then courses 1 to 5.
    std::vector<std::shared_ptr<platform::Button>> courseButtons;
};

}  // namespace tuner_tests
