// The desktop sound-file player: libsndfile decodes the program's MP3 and WAV
// resources whole, unreadable files give no player, and on a machine without
// an output device a player plays nothing.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio/PlaybackObserver.h"
#include "platform/audio/desktop/LibraryNoise.h"
#include "platform/audio/desktop/PortAudioPlayer.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;

class PortAudioPlayerTest : public testing_support::PlainPlatformTest {};

struct DecodeCase {
    const char* file;
    double duration;
};

class DecodeTest : public PortAudioPlayerTest, public testing::WithParamInterface<DecodeCase> {};

TEST_P(DecodeTest, DecodesTheWholeResource) {
    const auto player = platform::audio::desktop::makePortAudioPlayer(testing_support::resourcesFolder() / GetParam().file);
    ASSERT_NE(player, nullptr) << GetParam().file;
    EXPECT_DOUBLE_EQ(player->duration(), GetParam().duration);
    EXPECT_FALSE(player->isPlaying());
}

// The recordings are 2.5 s long; the encoder's padding is not part of the sound.
INSTANTIATE_TEST_SUITE_P(Resources, DecodeTest,
                         testing::Values(DecodeCase{"1_2_6_E5.mp3", 2.5}, DecodeCase{"3_4_A4.mp3", 2.5},
                                         DecodeCase{"5_E4.mp3", 2.5}, DecodeCase{"7_8_C5.mp3", 2.5},
                                         DecodeCase{"9_10_G4.mp3", 2.5}, DecodeCase{"beep-full.wav", 0.3}),
                         [](const auto& tested) {
                             std::string name = tested.param.file;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(PortAudioPlayerTest, AnUnreadableOrMissingFileGivesNoPlayer) {
    const fs::path words = testing_support::temporaryFolder() / "words.wav";
    std::ofstream(words) << "not a sound at all";
    EXPECT_EQ(platform::audio::desktop::makePortAudioPlayer(words), nullptr);
    EXPECT_EQ(platform::audio::desktop::makePortAudioPlayer(testing_support::temporaryFolder() / "absent.mp3"), nullptr);
}

TEST_F(PortAudioPlayerTest, PlayingTellsTheObserverWhateverTheDevice) {
    std::vector<std::string> started;
    const auto previous = platform::setPlaybackObserver([&started](const std::string& name) { started.push_back(name); });
    {
        auto player = platform::audio::desktop::makePortAudioPlayer(testing_support::resourcesFolder() / "beep-full.wav");
        ASSERT_NE(player, nullptr);
        player->play();
        // Released at once: with a device the sound stops, without one nothing happened.
    }
    platform::setPlaybackObserver(previous);
    EXPECT_EQ(started, std::vector<std::string>{"beep-full.wav"});
    // The player itself logs nothing; PortAudio's and ALSA's own lines about
    // the devices they probe belong in the log.
    for (const auto& line : log->lines()) EXPECT_TRUE(platform::audio::desktop::isLibraryNoise(line)) << line;
}

}  // namespace
