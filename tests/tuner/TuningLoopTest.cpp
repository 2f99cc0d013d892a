// The tuning loop on readings held by hand: the level gate, the five windows
// at the detector's resolution, the texts above 700 Hz, the beep timing and
// re-arming, the rating prompt once every pitch is tuned, the sensitivity
// slider and promptToReview.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "pitch/CaptureFormat.h"
#include "pitch/PitchEstimator.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/Controls.h"
#include "platform/ui/View.h"
#include "tests/support/CommaLocale.h"
#include "tests/support/ViewWatcher.h"
#include "tests/tuner/TunerScreenFixture.h"
#include "tuner/ScreenSettings.h"

namespace tuner_tests {
namespace {

using tuner::ScreenSettings;

class TuningLoopTest : public TunerScreenTest {};

// --- The level gate ---

enum class Display { Cleared, Held, Measured };

struct GateCase {
    const char* name;
    float level;
    Display expected;
};

// The limits of a new program. No float level equals them, so the cases take
// the nearest floats on each side; TickDisplayTest hits the bounds exactly.
constexpr double kBottom = 0.002;
constexpr double kTop = 0.0045;

float levelJustBelow(double limit) {
    const auto level = static_cast<float>(limit);
    return static_cast<double>(level) < limit ? level : std::nextafter(level, 0.0f);
}
float levelJustAbove(double limit) {
    const auto level = static_cast<float>(limit);
    return static_cast<double>(level) > limit ? level : std::nextafter(level, 1.0f);
}

class LevelGateTest : public TunerScreenTest, public testing::WithParamInterface<GateCase> {};

TEST_P(LevelGateTest, DecidesBetweenClearedHeldAndMeasured) {
    auto screen = makeAppearedScreen();
    ASSERT_DOUBLE_EQ(screen->settings().limits().bottom, kBottom);
    ASSERT_DOUBLE_EQ(screen->settings().limits().top, kTop);
    // A previous tick left a match on screen.
    tickWith(kLoud, 440.0f);
    ASSERT_EQ(screen->noteDisplay->text(), "A4");

    tickWith(GetParam().level, 329.6f);

    switch (GetParam().expected) {
        case Display::Cleared:
            EXPECT_EQ(screen->noteDisplay->text(), "");
            EXPECT_EQ(screen->freq_label->text(), "");
            EXPECT_TRUE(screen->tunedString5->isHidden());
            EXPECT_EQ(pictureIn(screen->LEDDisplay), "yellow64.png");
            EXPECT_EQ(pictureIn(screen->LEDDisplay128), "yellow128.png");
            break;
        case Display::Held:
            EXPECT_EQ(screen->noteDisplay->text(), "A4");
            EXPECT_EQ(screen->freq_label->text(), "440Hz");
            EXPECT_FALSE(screen->tunedString5->isHidden());
            EXPECT_EQ(pictureIn(screen->LEDDisplay), "green64.png");
            break;
        case Display::Measured:
            EXPECT_EQ(screen->noteDisplay->text(), "E4");
            EXPECT_EQ(screen->freq_label->text(), "329.6Hz");
            break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    AtTheBounds, LevelGateTest,
    testing::Values(GateCase{"SilenceClears", 0.0f, Display::Cleared},
                    GateCase{"JustBelowBottomClears", levelJustBelow(kBottom), Display::Cleared},
                    GateCase{"JustAboveBottomHolds", levelJustAbove(kBottom), Display::Held},
                    GateCase{"JustBelowTopHolds", levelJustBelow(kTop), Display::Held},
                    GateCase{"JustAboveTopMeasures", levelJustAbove(kTop), Display::Measured}),
    [](const auto& tested) { return std::string(tested.param.name); });

// --- The windows at the detector's resolution ---

struct BinCase {
    int bin;
    const char* note;  // empty: no window holds the bin
    const char* picture;
};

class WindowEdgeTest : public TunerScreenTest, public testing::WithParamInterface<BinCase> {};

TEST_P(WindowEdgeTest, MatchesTheBinsInsideEachWindowOnly) {
    const pitch::PitchEstimator estimator(pitch::kCaptureSampleRate);
    const float frequency = estimator.frequencyOfBin(GetParam().bin);
    auto screen = makeAppearedScreen();

    tickWith(kLoud, frequency);

    if (*GetParam().note == '\0') {
        char measured[32];
        std::snprintf(measured, sizeof measured, "%.1fHz", static_cast<double>(frequency));
        EXPECT_EQ(screen->freq_label->text(), measured);
        EXPECT_EQ(screen->noteDisplay->text(), "");
        EXPECT_EQ(pictureIn(screen->tunedString5), "");
        EXPECT_EQ(platform::PlainAudioPlayer::played().size(), 0u);
    } else {
        EXPECT_EQ(screen->noteDisplay->text(), GetParam().note);
        EXPECT_EQ(pictureIn(screen->tunedString5), GetParam().picture);
        EXPECT_EQ(pictureIn(screen->LEDDisplay), "green64.png");
        EXPECT_EQ(pictureIn(screen->LEDDisplay128), "green128.png");
        EXPECT_EQ(startsOf("beep-full.wav").size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Bins, WindowEdgeTest,
                         testing::Values(BinCase{1534, "", ""}, BinCase{1535, "E5", "1st_string_6plus.png"},
                                         BinCase{1543, "E5", "1st_string_6plus.png"}, BinCase{1544, "", ""},
                                         BinCase{1024, "", ""}, BinCase{1025, "A4", "2nd_string_6plus.png"},
                                         BinCase{1029, "A4", "2nd_string_6plus.png"}, BinCase{1030, "", ""},
                                         BinCase{767, "", ""}, BinCase{768, "E4", "3rd_string_6plus.png"},
                                         BinCase{771, "E4", "3rd_string_6plus.png"}, BinCase{772, "", ""},
                                         BinCase{1217, "", ""}, BinCase{1218, "C5", "5th_string_6plus.png"},
                                         BinCase{1224, "C5", "5th_string_6plus.png"}, BinCase{1225, "", ""},
                                         BinCase{912, "", ""}, BinCase{913, "G4", "6th_string_6plus.png"},
                                         BinCase{917, "G4", "6th_string_6plus.png"}, BinCase{918, "", ""}),
                         [](const auto& tested) { return "Bin" + std::to_string(tested.param.bin); });

TEST_F(TuningLoopTest, TheMeasuredFrequencyKeepsTheDecimalPointUnderACommaLocale) {
    const testing_support::CommaLocale comma;
    if (!comma.active()) GTEST_SKIP() << testing_support::CommaLocale::kSkipReason;
    auto screen = makeAppearedScreen();
    tickWith(kLoud, 600.2f);
    EXPECT_EQ(screen->freq_label->text(), "600.2Hz") << comma.name();
}

TEST_F(TuningLoopTest, BothBoundsOfTheE5WindowMatchAndShowStringOne) {
    auto screen = makeAppearedScreen();
    for (const float bound : {657.354f, 661.162f}) {
        tickWith(kLoud, bound);
        EXPECT_EQ(screen->noteDisplay->text(), "E5") << bound;
        EXPECT_EQ(screen->freq_label->text(), "659.3Hz") << bound;
        EXPECT_EQ(pictureIn(screen->tunedString5), "1st_string_6plus.png") << bound;
    }
}

// --- Unmatched loud ticks ---

TEST_F(TuningLoopTest, AboveSevenHundredHertzShowsTheLastMatchedTexts) {
    auto screen = makeAppearedScreen();

    tickWith(kLoud, 800.0f);  // nothing matched yet: the last texts are empty
    EXPECT_EQ(screen->freq_label->text(), "");
    EXPECT_EQ(screen->noteDisplay->text(), "");

    tickWith(kLoud, 523.2f);
    tickWith(kLoud, 700.0f);  // at 700 the measured value stays, the note too
    EXPECT_EQ(screen->freq_label->text(), "700.0Hz");
    EXPECT_EQ(screen->noteDisplay->text(), "C5");

    tickWith(kLoud, pitch::PitchEstimator(pitch::kCaptureSampleRate).frequencyOfBin(1634));  // 700.06 Hz
    EXPECT_EQ(screen->freq_label->text(), "523.2Hz");
    EXPECT_EQ(screen->noteDisplay->text(), "C5");
    // The match's picture and lamps stay through unmatched ticks.
    EXPECT_FALSE(screen->tunedString5->isHidden());
    EXPECT_EQ(pictureIn(screen->LEDDisplay), "green64.png");
}

TEST_F(TuningLoopTest, NoEstimateAboveTheTopLimitShowsZero) {
    auto screen = makeAppearedScreen();
    tickWith(kLoud, 0.0f);
    EXPECT_EQ(screen->freq_label->text(), "0.0Hz");
}

TEST_F(TuningLoopTest, BothReadingsAreTakenOnEveryTickWhateverTheLevel) {
    auto screen = makeAppearedScreen();
    input->hold(0.0f, 0.0f);
    runFor(0.1);
    EXPECT_EQ(input->readings, 10);
    EXPECT_EQ(input->frequencyReadings, 10);
    EXPECT_EQ(input->listenCalls, 1);
}

// --- The beep ---

TEST_F(TuningLoopTest, APitchHeldTwelveSecondsBeepsAboutEveryFiveSeconds) {
    auto screen = makeAppearedScreen();
    input->hold(kLoud, 440.0f);
    runFor(12.0);

    const auto beeps = startsOf("beep-full.wav");
    ASSERT_EQ(beeps.size(), 3u);
    EXPECT_NEAR(beeps[0], 0.01, 1e-6);
    EXPECT_NEAR(beeps[1], 5.01, 0.015);
    EXPECT_NEAR(beeps[2], 10.01, 0.03);
}

TEST_F(TuningLoopTest, TheResetOfOnePitchsBeepRearmsTheOthers) {
    auto screen = makeAppearedScreen();
    input->hold(kLoud, 659.3f);
    runFor(3.0);
    input->hold(kLoud, 440.0f);
    runFor(4.0);

    // E5 at once, A4 at 3 s, and A4 again right after E5's reset at 5 s, not at 8 s.
    const auto beeps = startsOf("beep-full.wav");
    ASSERT_EQ(beeps.size(), 3u);
    EXPECT_NEAR(beeps[0], 0.01, 1e-6);
    EXPECT_NEAR(beeps[1], 3.01, 0.015);
    EXPECT_NEAR(beeps[2], 5.01, 0.015);
}

TEST_F(TuningLoopTest, FallingBelowTheBottomLimitClearsButDoesNotRearm) {
    auto screen = makeAppearedScreen();
    tickWith(kLoud, 392.0f);
    tickWith(kQuiet, 392.0f);
    tickWith(kLoud, 392.0f);
    EXPECT_EQ(startsOf("beep-full.wav").size(), 1u);
    EXPECT_EQ(screen->noteDisplay->text(), "G4");
}

// --- The rating prompt once every pitch is tuned ---

TEST_F(TuningLoopTest, OnceEveryPitchIsTunedEachLoudUnmatchedTickSchedulesThePrompt) {
    auto screen = makeAppearedScreen();
    defaults->setInteger(4, ScreenSettings::kNumberOfRunsKey);  // one request per prompt
    for (const float pitch : {659.3f, 440.0f, 329.6f, 523.2f}) tickWith(kLoud, pitch);
    tickWith(kLoud, 500.0f);
    runFor(3.0);
    EXPECT_EQ(reviewRequests, 0) << "four of five pitches do not ask";

    tickWith(kLoud, 392.0f);
    input->hold(kLoud, 500.0f);
    runFor(0.03);  // three unmatched ticks
    input->hold(0.0f, 0.0f);
    runFor(1.9);
    EXPECT_EQ(reviewRequests, 0) << "the prompt comes 2 s after its tick";
    runFor(0.2);
    EXPECT_EQ(reviewRequests, 3);
}

TEST_F(TuningLoopTest, TheLoopsOwnResetsRearmTheBeepAfterFourSeconds) {
    auto screen = makeAppearedScreen();
    screen->confirmationBeep().setSoundNotificationOn(false);  // no beep resets of its own
    for (const float pitch : {659.3f, 440.0f, 329.6f, 523.2f, 392.0f}) tickWith(kLoud, pitch);
    for (size_t k = 1; k <= 5; ++k) confirmations->setBeepPlayed(k);
    tickWith(kLoud, 500.0f);
    input->hold(0.0f, 0.0f);
    runFor(3.9);
    EXPECT_EQ(confirmations->beepPlayed(), (std::array<bool, 5>{true, true, true, true, true}));
    runFor(0.2);
    EXPECT_EQ(confirmations->beepPlayed(), (std::array<bool, 5>{}));
}

TEST_F(TuningLoopTest, APromptScheduledByAScreenThatIsGoneStillAsks) {
    auto screen = makeAppearedScreen();
    defaults->setInteger(4, ScreenSettings::kNumberOfRunsKey);
    for (size_t k = 1; k <= 5; ++k) confirmations->setTunedOnce(k);
    tickWith(kLoud, 500.0f);
    screen.reset();
    runFor(2.5);
    EXPECT_EQ(reviewRequests, 1);
}

// --- The sensitivity slider ---

struct SliderCase {
    float releasedAt;
    float maximum;
    int64_t level;
    int64_t stored;
    double bottom;
    double top;
};

class SensitivitySliderTest : public TunerScreenTest, public testing::WithParamInterface<SliderCase> {};

TEST_P(SensitivitySliderTest, TakesTheLevelBeforeTheSnapAndStoresItAfter) {
    const SliderCase& c = GetParam();
    auto screen = makeAppearedScreen();
    screen->micSensitivitySlider->setRange(0.0f, c.maximum);
    screen->micSensitivitySlider->addTarget(screen->actions().at("micSensitivity:"));
    log->clear();

    screen->micSensitivitySlider->userSetValue(c.releasedAt);

    EXPECT_EQ(screen->settings().micSensitivityValue(), c.level);
    EXPECT_EQ(screen->micSensitivitySlider->value(), static_cast<float>(c.stored));
    EXPECT_EQ(defaults->integerForKey(ScreenSettings::kSavedSliderValueKey), c.stored);
    EXPECT_DOUBLE_EQ(screen->settings().limits().bottom, c.bottom);
    EXPECT_DOUBLE_EQ(screen->settings().limits().top, c.top);
    char bottomLine[64], topLine[64];
    std::snprintf(bottomLine, sizeof bottomLine, "bottomLimit: %f", c.bottom);
    std::snprintf(topLine, sizeof topLine, "topLimit: %f", c.top);
    EXPECT_EQ(log->lines(), (std::vector<std::string>{"micSensitivityValue: " + std::to_string(c.level), bottomLine,
                                                      topLine}));
}

INSTANTIATE_TEST_SUITE_P(
    Releases, SensitivitySliderTest,
    testing::Values(SliderCase{7.6f, 10.0f, 7, 8, 0.004, 0.0065},   // limits of 7, stores 8
                    SliderCase{10.4f, 11.0f, 10, 10, 0.007, 0.0095},
                    SliderCase{0.3f, 10.0f, 0, 0, 0.002, 0.0045},
                    SliderCase{5.5f, 10.0f, 5, 6, 0.002, 0.0045},   // halves round away from zero
                    SliderCase{6.0f, 10.0f, 6, 6, 0.003, 0.0055},
                    SliderCase{8.2f, 10.0f, 8, 8, 0.005, 0.0075},
                    SliderCase{9.7f, 10.0f, 9, 10, 0.006, 0.0085},
                    SliderCase{11.2f, 12.0f, 11, 11, 0.002, 0.0045}),  // no such level: limits stay
    [](const auto& tested) {
        std::string name = "ReleasedAt" + std::to_string(tested.param.releasedAt);
        for (char& c : name) c = c == '.' ? '_' : c;
        return name;
    });

TEST_F(TuningLoopTest, ALetGoSliderReachesTheFrontendOnlyWhenItSnapsAndThenOnce) {
    auto screen = makeAppearedScreen();
    auto& slider = *screen->micSensitivitySlider;
    // An end between two steps: the slider settles there, the store keeps the step below.
    slider.setRange(0.0f, 10.6f);
    slider.addTarget(screen->actions().at("micSensitivity:"));
    std::vector<float> shown;
    std::vector<std::string> spoken;
    const testing_support::ViewWatcher frontend(slider, [&](platform::Change change) {
        if (change == platform::Change::Value) shown.push_back(slider.value());
        if (change == platform::Change::Accessibility) spoken.push_back(slider.accessibilityValue());
    });

    // Where it is let go, the frontend shows already; only a snap elsewhere comes back.
    const struct {
        float letGoAt;
        int64_t stored;
    } drags[] = {{7.6f, 8}, {9.0f, 9}, {10.6f, 10}, {3.4f, 3}};
    for (const auto& drag : drags) {
        slider.userSetValue(drag.letGoAt);
        EXPECT_EQ(defaults->integerForKey(ScreenSettings::kSavedSliderValueKey), drag.stored) << drag.letGoAt;
    }

    EXPECT_EQ(shown, (std::vector<float>{8.0f, 3.0f}));
    EXPECT_EQ(spoken, (std::vector<std::string>{"8", "9", "10", "3"}));
    EXPECT_EQ(slider.value(), 3.0f);
}

TEST_F(TuningLoopTest, TheNewLimitsGateTheNextTick) {
    auto screen = makeAppearedScreen();
    screen->micSensitivitySlider->setValue(10.0f);
    screen->micSensitivity(*screen->micSensitivitySlider);
    tickWith(0.006f, 440.0f);  // below level 10's bottom limit of 0.007
    EXPECT_EQ(screen->noteDisplay->text(), "");
    EXPECT_EQ(pictureIn(screen->LEDDisplay), "yellow64.png");
}

TEST_F(TuningLoopTest, ASensitivityActionFromAnythingButASliderChangesNothing) {
    auto screen = makeAppearedScreen();
    screen->micSensitivitySlider->setValue(8.6f);
    log->clear();
    platform::Button button;
    const auto action = screen->actions().at("micSensitivity:");
    action(nullptr);
    action(&button);
    EXPECT_EQ(screen->settings().micSensitivityValue(), 5);
    EXPECT_DOUBLE_EQ(screen->settings().limits().bottom, 0.002);
    EXPECT_EQ(defaults->integerForKey(ScreenSettings::kSavedSliderValueKey), 5);
    EXPECT_EQ(screen->micSensitivitySlider->value(), 8.6f);
    EXPECT_TRUE(log->lines().empty());
}

// --- promptToReview ---

struct RunsCase {
    int64_t numberOfRuns;
    int requests;
};

class PromptToReviewTest : public TunerScreenTest, public testing::WithParamInterface<RunsCase> {};

TEST_P(PromptToReviewTest, AsksOnceForEveryTwoAppearancesFromFourOn) {
    auto screen = makeScreen();
    defaults->setInteger(GetParam().numberOfRuns, ScreenSettings::kNumberOfRunsKey);
    screen->promptToReview();
    EXPECT_EQ(reviewRequests, GetParam().requests);
}

INSTANTIATE_TEST_SUITE_P(NumberOfRuns, PromptToReviewTest,
                         testing::Values(RunsCase{0, 0}, RunsCase{3, 0}, RunsCase{4, 1}, RunsCase{5, 1},
                                         RunsCase{6, 2}, RunsCase{7, 2}, RunsCase{8, 3}, RunsCase{9, 3},
                                         RunsCase{10, 4}, RunsCase{250, 4}, RunsCase{-5, 0}),
                         [](const auto& tested) {
                             const int64_t runs = tested.param.numberOfRuns;
                             return (runs < 0 ? "Minus" : "") + std::to_string(runs < 0 ? -runs : runs);
                         });

}  // namespace
}  // namespace tuner_tests
