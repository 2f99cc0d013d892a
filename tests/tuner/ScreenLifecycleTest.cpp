// The screen's life-cycle on the plain platform: what loading the view sets
// going, the first-run reset and the restore of stored settings (odd values
// included), the tuning-fork key, the chart switch and the localised texts.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/audio/AudioSession.h"
#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/store/UserDefaults.h"
#include "sound/ConfirmationBeep.h"
#include "sound/StringSounds.h"
#include "sound/ToneGenerator.h"
#include "sound/TuningFork.h"
#include "tests/tuner/TunerScreenFixture.h"
#include "tuner/ScreenSettings.h"

namespace tuner_tests {
namespace {

using tuner::ScreenSettings;
using tuner::ViewController;

class ScreenLifecycleTest : public TunerScreenTest {
protected:
    void SetUp() override {
        TunerScreenTest::SetUp();
        session = std::make_shared<platform::AudioSession>();
        platform::AudioSession::setSharedInstance(session);
    }

    // The settings of a program that has run before.
    void storeEarlierRun() {
        defaults->setBool(true, ScreenSettings::kNewPallqaProKey);
        defaults->setInteger(1, ScreenSettings::kFrequencyChartEnabledKey);
        defaults->setInteger(1, sound::kSoundNotificationEnabledKey);
        defaults->setInteger(1, sound::kStringSoundsEnabledKey);
        defaults->setInteger(5, ScreenSettings::kSavedSliderValueKey);
        defaults->setInteger(3, ScreenSettings::kNumberOfRunsKey);
    }

    std::shared_ptr<platform::AudioSession> session;
};

// --- Loading the view ---

TEST_F(ScreenLifecycleTest, LoadingKeepsTheScreenAwakeSetsTheSessionUpListensAndTicks) {
    auto screen = makeScreen();

    EXPECT_TRUE(platform::Application::sharedApplication()->isIdleTimerDisabled());
    EXPECT_EQ(session->category(), platform::kAudioSessionCategoryPlayAndRecord);
    EXPECT_EQ(session->categoryOptions(), platform::kAudioSessionCategoryOptionDefaultToSpeaker);
    EXPECT_EQ(session->mode(), platform::kAudioSessionModeMeasurement);
    EXPECT_TRUE(session->isActive());
    EXPECT_EQ(input->listenCalls, 1);
    ASSERT_NE(screen->timer(), nullptr);
    EXPECT_DOUBLE_EQ(screen->timer()->timeInterval(), 0.01);
    runFor(0.5);
    EXPECT_EQ(input->readings, 50);
}

TEST_F(ScreenLifecycleTest, WithoutASessionTheErrorIsLoggedAndTheTunerStartsAnyway) {
    platform::AudioSession::setSharedInstance(nullptr);
    auto screen = makeScreen();
    EXPECT_TRUE(log->contains("Error creating session: (null)"));
    EXPECT_EQ(input->listenCalls, 1);
    runFor(0.1);
    EXPECT_EQ(input->readings, 10);
}

TEST_F(ScreenLifecycleTest, RefusedSessionSettingsAreNotFatal) {
    session->setFailure(platform::AudioSession::Call::SetCategory, "category refused");
    session->setFailure(platform::AudioSession::Call::SetMode, "mode refused");
    auto screen = makeScreen();
    EXPECT_EQ(log->lines(), std::vector<std::string>{});
    EXPECT_TRUE(session->isActive());
    EXPECT_EQ(input->listenCalls, 1);
}

TEST_F(ScreenLifecycleTest, AScreenThatIsGoneIsNotTicked) {
    auto screen = makeScreen();
    runFor(0.1);
    screen.reset();
    runFor(0.1);
    EXPECT_EQ(input->readings, 10);
}

struct VersionCase {
    const char* systemVersion;
    bool buttonHidden;
};

class TuningForkButtonTest : public ScreenLifecycleTest, public testing::WithParamInterface<VersionCase> {};

TEST_P(TuningForkButtonTest, IsHiddenBelowSystemVersionSix) {
    auto device = platform::Device::current();
    device.systemVersion = GetParam().systemVersion;
    platform::Device::setCurrent(device);
    auto screen = makeScreen();
    EXPECT_EQ(screen->tuningForkButton->isHidden(), GetParam().buttonHidden);
}

INSTANTIATE_TEST_SUITE_P(SystemVersions, TuningForkButtonTest,
                         testing::Values(VersionCase{"5.1.1", true}, VersionCase{"5.99", true},
                                         VersionCase{"6.0", false}, VersionCase{"6", false},
                                         VersionCase{"17.0", false}, VersionCase{"", true}),
                         [](const auto& tested) {
                             std::string name = "Version" + std::string(tested.param.systemVersion);
                             for (char& c : name) c = c == '.' ? '_' : c;
                             return name;
                         });

// --- Each appearance ---

TEST_F(ScreenLifecycleTest, EachAppearanceSetsTheToneUpStopsTheForkAndPreparesTheBeep) {
    auto screen = makeScreen();
    screen->toneGenerator().setCurTone(sound::ToneGenerator::kSquare);
    screen->tuningFork().setCurPlayState(sound::TuningFork::kPlaying);

    screen->viewWillAppear(false);

    EXPECT_EQ(screen->curTone(), sound::ToneGenerator::kTriangle);
    EXPECT_EQ(screen->curPlayState(), sound::TuningFork::kStopped);
    EXPECT_NE(sound::ToneGenerator::toneUnit(), nullptr);
    ASSERT_NE(screen->confirmationBeep().beepSoundPlayer(), nullptr);
    EXPECT_EQ(screen->confirmationBeep().beepSoundPlayer()->file().filename(), "beep-full.wav");
    EXPECT_EQ(platform::PlainAudioPlayer::played().size(), 0u) << "prepared, not played";
}

TEST_F(ScreenLifecycleTest, TheFirstRunEmptiesTheWholeStoreAndStoresTheDefaults) {
    defaults->setInteger(12, "chordsSearched");
    defaults->setObject("1.0.0", "kRatingPromptCurrentVersion");
    defaults->setInteger(1, sound::kCurrentlyUsingTuningForkKey);
    defaults->setInteger(9, ScreenSettings::kNumberOfRunsKey);
    auto screen = makeScreen();

    screen->viewWillAppear(false);

    EXPECT_EQ(log->count("Me abriste por primera vez, voy a borrar los defaults"), 1u);
    const platform::UserDefaults::Dictionary expected{
        {"NewPallqaPro", true},           {"frequencyChartEnabled", true}, {"soundNotificationEnabled", true},
        {"stringSoundsEnabled", true},    {"savedSliderValue", int64_t{5}}, {"numberOfRuns", int64_t{1}},
        {"SavedLanguage", int64_t{1}},
    };
    EXPECT_EQ(defaults->dictionaryRepresentation(), expected);

    screen->viewWillAppear(false);
    EXPECT_EQ(defaults->integerForKey(ScreenSettings::kNumberOfRunsKey), 2);
    EXPECT_EQ(log->count("Me abriste por primera vez, voy a borrar los defaults"), 1u);
}

TEST_F(ScreenLifecycleTest, TheFirstRunLeavesTheElementsAndTheInMemorySettingsAlone) {
    auto screen = makeScreen();
    screen->freqChartSwitch->setOn(false);
    screen->micSensitivitySlider->setValue(2.0f);
    screen->viewWillAppear(false);
    EXPECT_FALSE(screen->freqChartSwitch->isOn());
    EXPECT_EQ(screen->micSensitivitySlider->value(), 2.0f);
    EXPECT_EQ(screen->settings().micSensitivityValue(), 5);
    EXPECT_TRUE(screen->confirmationBeep().soundNotificationOn());
    EXPECT_TRUE(screen->stringSounds().stringSoundsOn());
}

TEST_F(ScreenLifecycleTest, ARestoreAppliesTheStoredSwitchesAndCountsTheAppearance) {
    storeEarlierRun();
    defaults->setBool(false, ScreenSettings::kFrequencyChartEnabledKey);
    defaults->setBool(false, sound::kSoundNotificationEnabledKey);
    defaults->setBool(false, sound::kStringSoundsEnabledKey);
    auto screen = makeScreen();

    screen->viewWillAppear(false);

    EXPECT_TRUE(screen->freqChart->isHidden());
    EXPECT_FALSE(screen->freqChartSwitch->isOn());
    EXPECT_FALSE(screen->confirmationBeep().soundNotificationOn());
    EXPECT_FALSE(screen->soundNotificationSwitch->isOn());
    EXPECT_FALSE(screen->stringSounds().stringSoundsOn());
    EXPECT_FALSE(screen->stringSoundsSwitch->isOn());
    EXPECT_EQ(defaults->integerForKey(ScreenSettings::kNumberOfRunsKey), 4);
    EXPECT_EQ(log->lines(), (std::vector<std::string>{"bottomLimit: 0.002000", "topLimit: 0.004500"}));
}

// Stored integers other than 0 and 1 leave the elements as the layout has
// them and the sound parts' settings as they are.
struct OddSwitchCase {
    int64_t stored;
};

class OddStoredSwitchTest : public ScreenLifecycleTest, public testing::WithParamInterface<OddSwitchCase> {};

TEST_P(OddStoredSwitchTest, ChangesNothing) {
    storeEarlierRun();
    for (const char* key : {ScreenSettings::kFrequencyChartEnabledKey, sound::kSoundNotificationEnabledKey,
                            sound::kStringSoundsEnabledKey}) {
        defaults->setInteger(GetParam().stored, key);
    }
    auto screen = makeScreen();
    screen->freqChart->setHidden(true);
    screen->freqChartSwitch->setOn(false);
    screen->confirmationBeep().setSoundNotificationOn(false);

    screen->viewWillAppear(false);

    EXPECT_TRUE(screen->freqChart->isHidden());
    EXPECT_FALSE(screen->freqChartSwitch->isOn());
    EXPECT_FALSE(screen->confirmationBeep().soundNotificationOn());
    EXPECT_TRUE(screen->soundNotificationSwitch->isOn());
    EXPECT_TRUE(screen->stringSounds().stringSoundsOn());
    EXPECT_TRUE(screen->stringSoundsSwitch->isOn());
}

INSTANTIATE_TEST_SUITE_P(Values, OddStoredSwitchTest, testing::Values(OddSwitchCase{2}, OddSwitchCase{-1}),
                         [](const auto& tested) { return tested.param.stored < 0 ? std::string("MinusOne") : "Two"; });

struct SliderRestoreCase {
    const char* name;
    std::optional<float> stored;  // none: the key is missing
    int64_t level;
    float slider;
    double bottomLimit;  // the limits of the level the slider shows
    double topLimit;
};

class SliderRestoreTest : public ScreenLifecycleTest, public testing::WithParamInterface<SliderRestoreCase> {};

TEST_P(SliderRestoreTest, PutsTheSliderAtTheTruncatedLevelAndPutsItsLimitsInForce) {
    storeEarlierRun();
    defaults->removeObjectForKey(ScreenSettings::kSavedSliderValueKey);
    if (GetParam().stored) defaults->setFloat(*GetParam().stored, ScreenSettings::kSavedSliderValueKey);
    auto screen = makeScreen();

    screen->viewWillAppear(false);

    EXPECT_EQ(screen->settings().micSensitivityValue(), GetParam().level);
    EXPECT_EQ(screen->micSensitivitySlider->value(), GetParam().slider);
    EXPECT_DOUBLE_EQ(screen->settings().limits().bottom, GetParam().bottomLimit);
    EXPECT_DOUBLE_EQ(screen->settings().limits().top, GetParam().topLimit);
    EXPECT_TRUE(log->contains("bottomLimit: " + std::to_string(GetParam().bottomLimit)));
}

INSTANTIATE_TEST_SUITE_P(
    StoredValues, SliderRestoreTest,
    testing::Values(SliderRestoreCase{"Eight", 8.0f, 8, 8.0f, 0.005, 0.0075},
                    SliderRestoreCase{"SevenPointNine", 7.9f, 7, 7.0f, 0.004, 0.0065},
                    SliderRestoreCase{"Three", 3.0f, 3, 3.0f, 0.002, 0.0045},
                    SliderRestoreCase{"Missing", std::nullopt, 0, 0.0f, 0.002, 0.0045},
                    SliderRestoreCase{"BeyondTheSlider", 25.0f, 25, 10.0f, 0.007, 0.0095},
                    SliderRestoreCase{"Negative", -3.5f, -3, 0.0f, 0.002, 0.0045},
                    SliderRestoreCase{"Huge", 1e30f, std::numeric_limits<int64_t>::max(), 10.0f, 0.007, 0.0095}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(ScreenLifecycleTest, ARestoredLevelGatesTheFirstTicks) {
    // Level 8 clears the display below 0.005: a sound at 0.004 must not be matched.
    storeEarlierRun();
    defaults->setFloat(8.0f, ScreenSettings::kSavedSliderValueKey);
    auto screen = makeScreen();
    screen->viewWillAppear(false);
    screen->noteDisplay->setText("A4");
    tickWith(0.004f, 440.0f);
    EXPECT_EQ(screen->noteDisplay->text(), "");
}

TEST_F(ScreenLifecycleTest, TheAppearanceCountDoesNotOverflow) {
    storeEarlierRun();
    defaults->setInteger(std::numeric_limits<int64_t>::max(), ScreenSettings::kNumberOfRunsKey);
    auto screen = makeScreen();
    screen->viewWillAppear(false);
    EXPECT_EQ(defaults->integerForKey(ScreenSettings::kNumberOfRunsKey), std::numeric_limits<int64_t>::max());
}

TEST_F(ScreenLifecycleTest, TheAppearanceCountsOnWhatAnotherRunCountedMeanwhile) {
    // The settings in a file, shared with a console run that counts its own
    // appearance after this screen's store has read the file.
    const auto file = testing_support::temporaryFolder() / "settings.json";
    const std::string identifier = platform::Bundle::mainBundle()->bundleIdentifier();
    defaults = platform::UserDefaults::atFile(file, identifier);
    platform::UserDefaults::setStandardUserDefaults(defaults);
    storeEarlierRun();
    ASSERT_TRUE(defaults->synchronize());
    auto console = platform::UserDefaults::atFile(file, identifier);
    console->incrementIntegerForKey(ScreenSettings::kNumberOfRunsKey);
    ASSERT_TRUE(console->synchronize());

    makeScreen()->viewWillAppear(false);
    EXPECT_EQ(platform::UserDefaults::atFile(file, identifier)->integerForKey(ScreenSettings::kNumberOfRunsKey), 5);
}

// --- The tuning-fork key ---

TEST_F(ScreenLifecycleTest, TheTuningForkKeySilencesTheBeepFromTheNextAppearanceOn) {
    storeEarlierRun();
    auto screen = makeScreen();
    screen->viewWillAppear(false);
    screen->disableTemporarilySoundConfirmation(nullptr);
    tickWith(kLoud, 440.0f);
    EXPECT_EQ(startsOf("beep-full.wav").size(), 1u) << "marking the fork does not silence the beep at once";

    screen->viewWillAppear(false);
    EXPECT_TRUE(screen->soundNotificationSwitch->isOn()) << "the switch goes on showing the setting";
    confirmations->resetTuningBools();
    tickWith(kLoud, 659.3f);
    tickWith(kLoud, 440.0f);
    EXPECT_EQ(startsOf("beep-full.wav").size(), 1u);
    EXPECT_TRUE(confirmations->stringTunedOnce()[0]);

    screen->enableSoundConfirmation(nullptr);
    screen->viewWillAppear(false);
    tickWith(kLoud, 329.6f);
    EXPECT_EQ(startsOf("beep-full.wav").size(), 2u);
}

// --- The frequency-chart switch ---

TEST_F(ScreenLifecycleTest, TheChartSwitchShowsHidesStoresAndLogs) {
    auto screen = makeAppearedScreen();
    screen->freqChartSwitch->addTarget(screen->actions().at("toggleFreqChart:"));
    log->clear();

    screen->freqChartSwitch->userSetOn(false);
    EXPECT_TRUE(screen->freqChart->isHidden());
    EXPECT_FALSE(defaults->boolForKey(ScreenSettings::kFrequencyChartEnabledKey));

    screen->freqChartSwitch->userSetOn(true);
    EXPECT_FALSE(screen->freqChart->isHidden());
    EXPECT_TRUE(defaults->boolForKey(ScreenSettings::kFrequencyChartEnabledKey));

    EXPECT_EQ(log->lines(),
              (std::vector<std::string>{"Frequency chart IS NOT enabled: 0", "Frequency chart IS enabled: 1"}));
}

// --- Localised texts ---

struct LanguageCase {
    const char* language;
    const char* micSensitivity;
    const char* congrats;
};

class LocalizedTextsTest : public ScreenLifecycleTest, public testing::WithParamInterface<LanguageCase> {};

TEST_P(LocalizedTextsTest, ComeFromTheDefaultTableOfTheLanguage) {
    platform::Bundle::setMainBundle(
        std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), GetParam().language));
    auto screen = makeAppearedScreen();
    EXPECT_EQ(screen->micSensitivityLabel->text(), GetParam().micSensitivity);
    EXPECT_EQ(screen->aboutCongratsMessage->text(), GetParam().congrats);
    const std::shared_ptr<platform::Label> texts[] = {
        screen->micSensitivityLabel, screen->soundNotificationLabel, screen->stringSoundsLabel,
        screen->frequencyChartLabel, screen->currentTuningName,      screen->aboutMsg2,
        screen->aboutCongratsMessage};
    const char* keys[] = {"MicSensitivityTitle", "SoundNotificationTitle", "StringSoundsTitle",
                          "FrequencyChartTitle", "TuningFreeTitle",        "TunerAboutMsg2",
                          "TunerAboutCongratsMessage"};
    for (size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_NE(texts[i]->text(), keys[i]) << "no translation of " << keys[i];
        EXPECT_FALSE(texts[i]->text().empty()) << keys[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, LocalizedTextsTest,
                         testing::Values(LanguageCase{"en", "Microphone sensitivity",
                                                      "Thank you for tuning with Pallqa Tuner!"},
                                         LanguageCase{"es", "Sensibilidad del micrófono",
                                                      "¡Gracias por afinar con Pallqa Tuner!"}),
                         [](const auto& tested) { return std::string(tested.param.language); });

}  // namespace
}  // namespace tuner_tests
