// The string recordings and the confirmation beep as the tuner screen uses
// them: which recording each string control plays, the players that replace
// and silence each other, the beep's flags and hold-off, the two settings
// switches and their log lines.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/audio/AudioPlayer.h"
#include "platform/audio/PlainAudioPlayer.h"
#include "platform/core/Bundle.h"
#include "platform/ui/Controls.h"
#include "sound/ConfirmationBeep.h"
#include "sound/PitchConfirmations.h"
#include "sound/StringSounds.h"
#include "tests/support/PlainPlatform.h"

namespace {

using platform::PlainAudioPlayer;
using sound::ConfirmationBeep;
using sound::StringSounds;

using Flags = sound::PitchConfirmations::Flags;

class RecordedSoundsTest : public testing_support::PlainPlatformTest {
protected:
    // A control of the given kind connected to `action`, as a layout connects it.
    template <typename Kind>
    std::shared_ptr<Kind> connected(const platform::Control::Action& action) {
        auto control = std::make_shared<Kind>();
        control->addTarget(action);
        return control;
    }

    static std::vector<std::string> playedFiles() {
        std::vector<std::string> files;
        for (const auto& sound : PlainAudioPlayer::played()) files.push_back(sound.fileName);
        return files;
    }

    // Points the main bundle at a resources folder without any sound.
    void removeSoundResources() {
        const auto folder = testing_support::temporaryFolder() / "silent-resources";
        std::filesystem::create_directories(folder);
        platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(folder, "en"));
    }

    // The record of confirmed pitches, as a new program starts with it.
    std::shared_ptr<sound::PitchConfirmations> confirmations = std::make_shared<sound::PitchConfirmations>();
};

// --- String sounds ---

struct StringCase {
    const char* selector;
    int64_t stringIndex;
    const char* recording;
};

class StringControlTest : public RecordedSoundsTest, public testing::WithParamInterface<StringCase> {};

TEST_P(StringControlTest, PlaysItsStringsRecording) {
    StringSounds strings;
    connected<platform::Button>(strings.actions().at(GetParam().selector))->userTap();

    EXPECT_EQ(playedFiles(), std::vector<std::string>{GetParam().recording});
    ASSERT_NE(strings.stringPlayer(), nullptr);
    EXPECT_EQ(strings.stringPlayer()->file(),
              platform::Bundle::mainBundle()->resourcePath() / GetParam().recording);
    EXPECT_EQ(StringSounds::recordingForString(GetParam().stringIndex), GetParam().recording);
}

INSTANTIATE_TEST_SUITE_P(SixStrings, StringControlTest,
                         testing::Values(StringCase{"play1stStringSound:", 1, "1_2_6_E5.mp3"},
                                         StringCase{"play2ndStringSound:", 2, "3_4_A4.mp3"},
                                         StringCase{"play3rdStringSound:", 3, "5_E4.mp3"},
                                         StringCase{"play4thStringSound:", 4, "1_2_6_E5.mp3"},
                                         StringCase{"play5thStringSound:", 5, "7_8_C5.mp3"},
                                         StringCase{"play6thStringSound:", 6, "9_10_G4.mp3"}),
                         [](const auto& tested) { return "StringIndex" + std::to_string(tested.param.stringIndex); });

TEST_F(RecordedSoundsTest, ATapCutsOffTheRecordingStillPlaying) {
    StringSounds strings;
    strings.play2ndStringSound(nullptr);
    advance(1.0);
    strings.play6thStringSound(nullptr);
    advance(5.0);

    const auto played = PlainAudioPlayer::played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].fileName, "3_4_A4.mp3");
    EXPECT_DOUBLE_EQ(played[0].endedAt, 1.0) << "silenced by the tap";
    EXPECT_EQ(played[1].fileName, "9_10_G4.mp3");
    EXPECT_NEAR(played[1].endedAt - played[1].startedAt, 2.5, 0.05) << "the whole recording";
}

TEST_F(RecordedSoundsTest, WithTheStringSoundsOffATapOnlyLogs) {
    StringSounds strings;
    strings.play1stStringSound(nullptr);
    const platform::AudioPlayer* before = strings.stringPlayer();
    PlainAudioPlayer::clearPlayed();
    strings.setStringSoundsOn(false);

    strings.play3rdStringSound(nullptr);

    EXPECT_EQ(log->lines(), std::vector<std::string>{"Sonido de cuerdas desactivado"});
    EXPECT_EQ(strings.stringPlayer(), before);
    EXPECT_TRUE(PlainAudioPlayer::played().empty());
}

TEST_F(RecordedSoundsTest, AMissingRecordingPlaysNothingAndReleasesTheOldPlayer) {
    StringSounds strings;
    strings.play5thStringSound(nullptr);
    removeSoundResources();

    strings.play5thStringSound(nullptr);

    EXPECT_EQ(strings.stringPlayer(), nullptr);
    ASSERT_EQ(PlainAudioPlayer::played().size(), 1u);
    EXPECT_DOUBLE_EQ(PlainAudioPlayer::played()[0].endedAt, 0.0) << "the old recording fell silent";
    EXPECT_TRUE(log->lines().empty());
}

// --- The two settings switches ---

struct SwitchCase {
    const char* name;
    const char* selector;
    const char* key;
    // The in-memory setting the switch sets.
    bool (*isOn)(const StringSounds&, const ConfirmationBeep&);
};

class SettingSwitchTest : public RecordedSoundsTest, public testing::WithParamInterface<SwitchCase> {};

TEST_P(SettingSwitchTest, SetsTheFlagStoresTheSettingAndLogs) {
    StringSounds strings;
    ConfirmationBeep beep{confirmations};
    auto actions = strings.actions();
    actions.merge(beep.actions());
    auto settingSwitch = connected<platform::Switch>(actions.at(GetParam().selector));
    settingSwitch->setOn(true);

    settingSwitch->userSetOn(false);
    EXPECT_FALSE(GetParam().isOn(strings, beep));
    ASSERT_TRUE(defaults->objectForKey(GetParam().key).has_value());
    EXPECT_EQ(*defaults->objectForKey(GetParam().key), platform::UserDefaults::Value(false));

    settingSwitch->userSetOn(true);
    EXPECT_TRUE(GetParam().isOn(strings, beep));
    EXPECT_TRUE(defaults->boolForKey(GetParam().key));

    EXPECT_EQ(log->lines(), (std::vector<std::string>{"Has apagado el Switch, valor de la variable = 0",
                                                      "Has encendido el Switch, valor de la variable = 1"}));
}

INSTANTIATE_TEST_SUITE_P(
    Switches, SettingSwitchTest,
    testing::Values(SwitchCase{"StringSounds", "toggleStringSounds:", "stringSoundsEnabled",
                               [](const StringSounds& strings, const ConfirmationBeep&) {
                                   return strings.stringSoundsOn();
                               }},
                    SwitchCase{"SoundNotification", "soundNotificationAction:", "soundNotificationEnabled",
                               [](const StringSounds&, const ConfirmationBeep& beep) {
                                   return beep.soundNotificationOn();
                               }}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(RecordedSoundsTest, ASenderThatIsNotASwitchChangesNothing) {
    ConfirmationBeep beep{confirmations};
    platform::Button button;
    beep.actions().at("soundNotificationAction:")(&button);
    EXPECT_TRUE(beep.soundNotificationOn());
    EXPECT_FALSE(defaults->objectForKey("soundNotificationEnabled").has_value());
}

// --- The confirmation beep ---

TEST_F(RecordedSoundsTest, PreparingTheBeepPlaysNothing) {
    ConfirmationBeep beep{confirmations};
    beep.prepareBeepSound();
    ASSERT_NE(beep.beepSoundPlayer(), nullptr);
    EXPECT_EQ(beep.beepSoundPlayer()->file().filename(), "beep-full.wav");
    EXPECT_TRUE(PlainAudioPlayer::played().empty());
}

TEST_F(RecordedSoundsTest, EachPitchBeepsOnceUntilAResetFiveSecondsLater) {
    ConfirmationBeep beep{confirmations};
    beep.prepareBeepSound();

    beep.play3rdSoundOnce();
    beep.play3rdSoundOnce();
    EXPECT_EQ(confirmations->beepPlayed(), (Flags{false, false, true, false, false}));
    EXPECT_EQ(confirmations->stringTunedOnce(), (Flags{false, false, true, false, false}));
    advance(1.0);
    beep.play4thSoundOnce();  // another pitch beeps at once
    advance(3.9);
    beep.play3rdSoundOnce();  // still held off
    advance(0.2);             // the reset from the first beep, at 5 s, re-arms both
    EXPECT_EQ(confirmations->beepPlayed(), Flags{});
    beep.play3rdSoundOnce();
    beep.play4thSoundOnce();

    std::vector<double> starts;
    for (const auto& sound : PlainAudioPlayer::played()) starts.push_back(sound.startedAt);
    EXPECT_THAT(starts, testing::Pointwise(testing::DoubleNear(1e-6), std::vector<double>{0.0, 1.0, 5.1}))
        << "the last beep runs on into the one before";
    EXPECT_EQ(confirmations->stringTunedOnce(), (Flags{false, false, true, true, false}));
}

TEST_F(RecordedSoundsTest, WithTheBeepOffConfirmationsOnlyMarkThePitchesAndG4Logs) {
    ConfirmationBeep beep{confirmations};
    beep.prepareBeepSound();
    beep.setSoundNotificationOn(false);

    beep.play1stSoundOnce();
    beep.play2ndSoundOnce();
    beep.play3rdSoundOnce();
    beep.play4thSoundOnce();
    beep.play5thSoundOnce();
    advance(10.0);

    EXPECT_EQ(confirmations->stringTunedOnce(), (Flags{true, true, true, true, true}));
    EXPECT_EQ(confirmations->beepPlayed(), Flags{});
    EXPECT_TRUE(PlainAudioPlayer::played().empty());
    EXPECT_EQ(log->lines(), std::vector<std::string>{"Sonido desactivado"});
}

TEST_F(RecordedSoundsTest, WithoutABeepFileTheConfirmationStillHoldsOff) {
    removeSoundResources();
    ConfirmationBeep beep{confirmations};
    beep.prepareBeepSound();
    EXPECT_EQ(beep.beepSoundPlayer(), nullptr);

    beep.play2ndSoundOnce();

    EXPECT_TRUE(confirmations->beepPlayed()[1]);
    EXPECT_TRUE(PlainAudioPlayer::played().empty());
}

TEST_F(RecordedSoundsTest, ResetFirstTuningForgetsTheTunedPitches) {
    ConfirmationBeep beep{confirmations};
    beep.play1stSoundOnce();
    beep.play5thSoundOnce();
    confirmations->resetFirstTuning();
    EXPECT_EQ(confirmations->stringTunedOnce(), Flags{});
    EXPECT_EQ(confirmations->beepPlayed(), (Flags{true, false, false, false, true}));
}

}  // namespace
