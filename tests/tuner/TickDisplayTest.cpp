// The tuning loop on its own, as a function from readings to what a tick
// shows: the level gate exactly at its limits, the match, the last match's
// texts above 700 Hz, and the rating prompt once every pitch is tuned.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "sound/PitchConfirmations.h"
#include "tests/tuner/HeldPitchInput.h"
#include "tuner/MatchTable.h"
#include "tuner/TuningLoop.h"

namespace tuner_tests {
namespace {

using Gate = tuner::TickDisplay::Gate;

// Limits a float level can equal exactly, so that both bounds can be hit.
constexpr float kBottom = 0.002f;
constexpr float kTop = 0.0045f;
constexpr tuner::LevelLimits kLimits{kBottom, kTop};
constexpr float kLoud = 0.1f;

class TickDisplayTest : public testing::Test {
protected:
    tuner::TickDisplay tickWith(float level, float frequency) {
        input->hold(level, frequency);
        return loop.tick(kLimits);
    }

    std::shared_ptr<HeldPitchInput> input = std::make_shared<HeldPitchInput>();
    std::shared_ptr<sound::PitchConfirmations> confirmations = std::make_shared<sound::PitchConfirmations>();
    tuner::TuningLoop loop{input, confirmations};
};

TEST_F(TickDisplayTest, GatesTheLevelWithBothLimitsHolding) {
    const struct {
        const char* name;
        float level;
        Gate gate;
    } cases[] = {
        {"silence", 0.0f, Gate::Cleared},
        {"just below the bottom limit", std::nextafter(kBottom, 0.0f), Gate::Cleared},
        {"at the bottom limit", kBottom, Gate::Held},
        {"at the top limit", kTop, Gate::Held},
        {"just above the top limit", std::nextafter(kTop, 1.0f), Gate::Measured},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const tuner::TickDisplay shown = tickWith(c.level, 440.0f);
        EXPECT_EQ(shown.gate, c.gate);
        if (c.gate == Gate::Measured) continue;
        EXPECT_EQ(shown.measuredText, "");
        EXPECT_EQ(shown.match, nullptr);
        EXPECT_FALSE(shown.asksForReview);
    }
}

TEST_F(TickDisplayTest, BothReadingsAreTakenWhateverTheLevel) {
    for (const float level : {0.0f, 0.003f, kLoud}) tickWith(level, 440.0f);
    EXPECT_EQ(input->readings, 3);
    EXPECT_EQ(input->frequencyReadings, 3);
}

TEST_F(TickDisplayTest, ALoudTickShowsTheMeasuredValueAndTheWindowHoldingIt) {
    const struct {
        float frequency;
        const char* measured;
        const tuner::MatchWindow* match;
    } cases[] = {
        {657.354f, "657.4Hz", &tuner::kMatchTable[0]},
        {661.162f, "661.2Hz", &tuner::kMatchTable[0]},
        {440.0f, "440.0Hz", &tuner::kMatchTable[1]},
        {392.0f, "392.0Hz", &tuner::kMatchTable[4]},
        {500.0f, "500.0Hz", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frequency);
        const tuner::TickDisplay shown = tickWith(kLoud, c.frequency);
        EXPECT_EQ(shown.gate, Gate::Measured);
        EXPECT_EQ(shown.measuredText, c.measured);
        EXPECT_EQ(shown.match, c.match);
        EXPECT_FALSE(shown.showsLastMatch);
    }
}

TEST_F(TickDisplayTest, AboveSevenHundredHertzTheLastMatchsTextsComeBackEvenAfterAClear) {
    tuner::TickDisplay shown = tickWith(kLoud, 800.0f);
    EXPECT_TRUE(shown.showsLastMatch);
    EXPECT_EQ(shown.lastFrequencyLabel, "");
    EXPECT_EQ(shown.lastNoteName, "");

    tickWith(kLoud, 523.2f);
    tickWith(0.0f, 0.0f);
    shown = tickWith(kLoud, 700.0f);
    EXPECT_FALSE(shown.showsLastMatch) << "700 Hz itself keeps the measured value";

    shown = tickWith(kLoud, 700.06f);
    EXPECT_TRUE(shown.showsLastMatch);
    EXPECT_EQ(shown.measuredText, "700.1Hz");
    EXPECT_EQ(shown.lastFrequencyLabel, "523.2Hz");
    EXPECT_EQ(shown.lastNoteName, "C5");
}

TEST_F(TickDisplayTest, OnceEveryPitchIsTunedOnlyLoudUnmatchedTicksAskForReview) {
    for (size_t k = 1; k <= 4; ++k) confirmations->setTunedOnce(k);
    EXPECT_FALSE(tickWith(kLoud, 500.0f).asksForReview) << "four pitches of five";

    confirmations->setTunedOnce(5);
    EXPECT_TRUE(tickWith(kLoud, 500.0f).asksForReview);
    EXPECT_TRUE(tickWith(kLoud, 800.0f).asksForReview);
    EXPECT_FALSE(tickWith(kLoud, 440.0f).asksForReview) << "a match";
    EXPECT_FALSE(tickWith(0.003f, 500.0f).asksForReview) << "held between the limits";
    EXPECT_FALSE(tickWith(0.0f, 500.0f).asksForReview) << "cleared";
}

}  // namespace
}  // namespace tuner_tests
