// The sound-file player contract on the plain player: what a file's headers
// say about it, which files give no player, and the record of what was played:
// a play() while the sound lasts runs on, releasing the player silences it,
// and the playback observer hears of each start.

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/audio/AudioPlayer.h"
#include "platform/audio/PlainAudioPlayer.h"
#include "platform/audio/PlaybackObserver.h"
#include "platform/audio/SoundFileInfo.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using platform::PlainAudioPlayer;

using Bytes = std::vector<unsigned char>;

void appendLittleEndian(Bytes& bytes, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void appendText(Bytes& bytes, const char* text) { bytes.insert(bytes.end(), text, text + std::strlen(text)); }

// A 16-bit PCM WAVE file whose data chunk claims `claimedFrames` and holds `frames`.
Bytes wave(uint32_t sampleRate, uint16_t channels, uint32_t frames, uint32_t claimedFrames) {
    const uint32_t blockAlign = channels * 2u;
    Bytes bytes;
    appendText(bytes, "RIFF");
    appendLittleEndian(bytes, 36 + frames * blockAlign, 4);
    appendText(bytes, "WAVE");
    appendText(bytes, "LIST");  // a chunk the reader skips
    appendLittleEndian(bytes, 3, 4);
    appendText(bytes, "abc");
    bytes.push_back(0);  // pad to an even size
    appendText(bytes, "fmt ");
    appendLittleEndian(bytes, 16, 4);
    appendLittleEndian(bytes, 1, 2);
    appendLittleEndian(bytes, channels, 2);
    appendLittleEndian(bytes, sampleRate, 4);
    appendLittleEndian(bytes, sampleRate * blockAlign, 4);
    appendLittleEndian(bytes, blockAlign, 2);
    appendLittleEndian(bytes, 16, 2);
    appendText(bytes, "data");
    appendLittleEndian(bytes, claimedFrames * blockAlign, 4);
    bytes.resize(bytes.size() + size_t{frames} * blockAlign, 0);
    return bytes;
}

class AudioPlayerTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        platform::setPlaybackObserver([this](const std::string& name) { started.push_back(name); });
    }

    static fs::path resource(const char* name) { return testing_support::resourcesFolder() / name; }

    static fs::path writeFile(const std::string& name, const Bytes& bytes) {
        const fs::path path = testing_support::temporaryFolder() / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                     static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::vector<std::string> started;
};

// --- What the headers say ---

struct ResourceCase {
    const char* file;
    uint32_t sampleRate;
    double duration;
    double tolerance;  // an MP3's length counts whole frames and the encoder's padding
};

class SoundResourceInfoTest : public AudioPlayerTest, public testing::WithParamInterface<ResourceCase> {};

TEST_P(SoundResourceInfoTest, GivesTheRateChannelsAndLength) {
    const auto info = platform::soundFileInfo(resource(GetParam().file));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->sampleRate, GetParam().sampleRate);
    EXPECT_EQ(info->channels, 1u);
    EXPECT_NEAR(info->duration(), GetParam().duration, GetParam().tolerance);
}

INSTANTIATE_TEST_SUITE_P(Resources, SoundResourceInfoTest,
                         testing::Values(ResourceCase{"1_2_6_E5.mp3", 44100, 2.5, 0.06},
                                         ResourceCase{"3_4_A4.mp3", 44100, 2.5, 0.06},
                                         ResourceCase{"5_E4.mp3", 44100, 2.5, 0.06},
                                         ResourceCase{"7_8_C5.mp3", 44100, 2.5, 0.06},
                                         ResourceCase{"9_10_G4.mp3", 44100, 2.5, 0.06},
                                         ResourceCase{"beep-full.wav", 44100, 0.3, 1e-9}),
                         [](const auto& tested) {
                             std::string name = tested.param.file;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(AudioPlayerTest, AWaveFileCutShortCountsTheFramesItHolds) {
    const auto info = platform::soundFileInfo(writeFile("short.wav", wave(8000, 2, 4000, 8000)));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->channels, 2u);
    EXPECT_EQ(info->frames, 4000u);
    EXPECT_DOUBLE_EQ(info->duration(), 0.5);
}

struct NotASoundCase {
    const char* name;
    Bytes bytes;
};

class NotASoundTest : public AudioPlayerTest, public testing::WithParamInterface<NotASoundCase> {};

TEST_P(NotASoundTest, GivesNoInfoAndNoPlayer) {
    const fs::path file = writeFile(GetParam().name, GetParam().bytes);
    EXPECT_FALSE(platform::soundFileInfo(file).has_value());
    EXPECT_EQ(platform::AudioPlayer::withContentsOfFile(file), nullptr);
}

Bytes text(const char* content) { return Bytes(content, content + std::strlen(content)); }

// The header of an empty wave up to, not including, its data chunk.
Bytes withoutDataChunk() {
    const Bytes bytes = wave(44100, 1, 0, 0);
    return Bytes(bytes.begin(), bytes.end() - 8);
}

Bytes id3TagAlone() {
    Bytes bytes = text("ID3");
    bytes.insert(bytes.end(), {4, 0, 0, 0, 0, 0, 10});
    bytes.resize(bytes.size() + 10, 0);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Files, NotASoundTest,
                         testing::Values(NotASoundCase{"empty.wav", {}},
                                         NotASoundCase{"words.mp3", text("not a sound at all, only words")},
                                         NotASoundCase{"no-data.wav", withoutDataChunk()},
                                         NotASoundCase{"no-frames.wav", wave(44100, 1, 0, 0)},
                                         NotASoundCase{"riff-but-not-wave.wav", text("RIFF\x04\0\0\0AVI ")},
                                         NotASoundCase{"only-a-tag.mp3", id3TagAlone()}),
                         [](const auto& tested) {
                             std::string name = tested.param.name;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(AudioPlayerTest, AMissingFileGivesNoPlayer) {
    EXPECT_EQ(platform::AudioPlayer::withContentsOfFile(testing_support::temporaryFolder() / "absent.wav"), nullptr);
    EXPECT_FALSE(platform::soundFileInfo(testing_support::temporaryFolder()).has_value()) << "a folder";
}

// --- The plain player's record ---

TEST_F(AudioPlayerTest, APlayWhileTheSoundLastsRunsOn) {
    auto player = platform::AudioPlayer::withContentsOfFile(resource("beep-full.wav"));
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->isPlaying());

    player->play();
    advance(0.2);
    EXPECT_TRUE(player->isPlaying());
    player->play();  // runs on
    advance(0.2);
    EXPECT_FALSE(player->isPlaying());
    player->play();  // starts again from the beginning

    const auto played = PlainAudioPlayer::played();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(played[0].fileName, "beep-full.wav");
    EXPECT_NEAR(played[0].startedAt, 0.0, 1e-6);
    EXPECT_NEAR(played[0].endedAt, 0.3, 1e-6);
    EXPECT_NEAR(played[1].startedAt, 0.4, 1e-6);
    EXPECT_EQ(started, (std::vector<std::string>{"beep-full.wav", "beep-full.wav"}));
}

TEST_F(AudioPlayerTest, ReleasingThePlayerSilencesItsSound) {
    auto player = platform::AudioPlayer::withContentsOfFile(resource("3_4_A4.mp3"));
    ASSERT_NE(player, nullptr);
    player->play();
    advance(1.0);
    player.reset();
    ASSERT_EQ(PlainAudioPlayer::played().size(), 1u);
    EXPECT_NEAR(PlainAudioPlayer::played()[0].endedAt, 1.0, 1e-6);
}

TEST_F(AudioPlayerTest, TheInstalledFactoryMakesThePlayers) {
    std::vector<fs::path> asked;
    platform::AudioPlayer::setFactory([&asked](const fs::path& file) {
        asked.push_back(file);
        return std::unique_ptr<platform::AudioPlayer>();
    });
    EXPECT_EQ(platform::AudioPlayer::withContentsOfFile(resource("beep-full.wav")), nullptr);
    EXPECT_EQ(asked, std::vector<fs::path>{resource("beep-full.wav")});

    platform::AudioPlayer::setFactory(nullptr);
    EXPECT_NE(platform::AudioPlayer::withContentsOfFile(resource("beep-full.wav")), nullptr);
}

}  // namespace
