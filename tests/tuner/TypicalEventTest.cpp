// From sound to screen through the real detector: a plucked string pushed
// into the capture queue, the 10 ms tick on the virtual clock, and what the
// screen shows and sounds.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "pitch/PitchListener.h"
#include "platform/audio/AudioQueue.h"
#include "platform/audio/AudioQueueFeeder.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace tuner_tests {
namespace {

constexpr double kSampleRate = pitch::kCaptureSampleRate;
// One capture buffer: 8192 bytes of 16-bit samples.
constexpr size_t kBufferSamples = 4096;

// A plucked string: the fundamental with a few harmonics, decaying, its
// fundamental peaking at `amplitude` of full scale.
std::vector<int16_t> pluck(double frequency, double amplitude) {
    constexpr double kHarmonics[] = {1.0, 0.5, 0.3, 0.15};
    std::vector<int16_t> samples(kBufferSamples);
    for (size_t n = 0; n < samples.size(); ++n) {
        const double t = static_cast<double>(n) / kSampleRate;
        double value = 0.0;
        for (size_t h = 0; h < std::size(kHarmonics); ++h) {
            value += kHarmonics[h] * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(h + 1) * t);
        }
        samples[n] = static_cast<int16_t>(std::lround(32767.0 * amplitude * std::exp(-t / 1.5) * value / 2.0));
    }
    return samples;
}

std::vector<int16_t> tone(double frequency, double amplitude) {
    std::vector<int16_t> samples(kBufferSamples);
    for (size_t n = 0; n < samples.size(); ++n) {
        const double t = static_cast<double>(n) / kSampleRate;
        samples[n] = static_cast<int16_t>(std::lround(32767.0 * amplitude * std::sin(2.0 * std::numbers::pi * frequency * t)));
    }
    return samples;
}

class TypicalEventTest : public TunerScreenTest {
protected:
    void SetUp() override {
        TunerScreenTest::SetUp();
        feeder = platform::AudioQueueFeeder::install();
        // A queue left from another test would not hear this feeder.
        pitch::PitchListener::sharedListener()->stop();
    }
    void TearDown() override {
        pitch::PitchListener::sharedListener()->stop();
        TunerScreenTest::TearDown();
    }

    // The microphone hears one buffer's worth of `samples`.
    void hear(const std::vector<int16_t>& samples) {
        feeder->push(samples);
        feeder->waitUntilDelivered();
    }

    std::shared_ptr<platform::AudioQueueFeeder> feeder;
};

TEST_F(TypicalEventTest, APluckedA4FromTheCaptureQueueToTheScreen) {
    auto screen = makeScreen(tuner::PitchInput::sharedListener());
    screen->viewWillAppear(false);
    ASSERT_EQ(feeder->queuesMade(), 1);

    hear(pluck(440.0, 0.25));
    tick();

    EXPECT_EQ(screen->noteDisplay->text(), "A4");
    EXPECT_EQ(screen->freq_label->text(), "440Hz");
    EXPECT_FALSE(screen->tunedString5->isHidden());
    EXPECT_EQ(pictureIn(screen->tunedString5), "2nd_string_6plus.png");
    EXPECT_EQ(pictureIn(screen->LEDDisplay), "green64.png");
    EXPECT_EQ(pictureIn(screen->LEDDisplay128), "green128.png");
    ASSERT_EQ(startsOf("beep-full.wav").size(), 1u);
    EXPECT_NEAR(startsOf("beep-full.wav")[0], 0.01, 1e-6);

    // The string rings on: one beep until the reset 5 s later re-arms it.
    runFor(4.9);
    EXPECT_EQ(startsOf("beep-full.wav").size(), 1u);
    runFor(0.2);
    const auto beeps = startsOf("beep-full.wav");
    ASSERT_EQ(beeps.size(), 2u);
    EXPECT_NEAR(beeps[1], 5.01, 0.015);

    // The sound fades below the bottom limit.
    hear(tone(440.0, 0.001));
    tick();
    EXPECT_EQ(screen->noteDisplay->text(), "");
    EXPECT_EQ(screen->freq_label->text(), "");
    EXPECT_TRUE(screen->tunedString5->isHidden());
    EXPECT_EQ(pictureIn(screen->LEDDisplay), "yellow64.png");
    EXPECT_EQ(pictureIn(screen->LEDDisplay128), "yellow128.png");

    // A loud sound above 700 Hz brings the last match's texts back.
    hear(pluck(1000.0, 0.25));
    tick();
    ASSERT_GT(pitch::PitchListener::sharedListener()->frequency(), 700.0f);
    EXPECT_EQ(screen->freq_label->text(), "440Hz");
    EXPECT_EQ(screen->noteDisplay->text(), "A4");
    EXPECT_TRUE(screen->tunedString5->isHidden()) << "the picture stays as the clear left it";
}

TEST_F(TypicalEventTest, EachOpenStringIsRecognisedFromItsPluck) {
    auto screen = makeScreen(tuner::PitchInput::sharedListener());
    screen->viewWillAppear(false);
    const struct {
        double frequency;
        const char* note;
        const char* text;
        const char* picture;
    } strings[] = {
        {659.26, "E5", "659.3Hz", "1st_string_6plus.png"}, {440.0, "A4", "440Hz", "2nd_string_6plus.png"},
        {329.63, "E4", "329.6Hz", "3rd_string_6plus.png"}, {523.25, "C5", "523.2Hz", "5th_string_6plus.png"},
        {392.0, "G4", "392Hz", "6th_string_6plus.png"},
    };
    for (const auto& string : strings) {
        hear(pluck(string.frequency, 0.25));
        tick();
        EXPECT_EQ(screen->noteDisplay->text(), string.note) << string.frequency;
        EXPECT_EQ(screen->freq_label->text(), string.text) << string.frequency;
        EXPECT_EQ(pictureIn(screen->tunedString5), string.picture) << string.frequency;
    }
    EXPECT_EQ(startsOf("beep-full.wav").size(), 1u) << "the other beeps run on into the first";
}

}  // namespace
}  // namespace tuner_tests
