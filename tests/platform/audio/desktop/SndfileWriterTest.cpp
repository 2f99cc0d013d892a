// The desktop's sound-file writer: a 16-bit PCM WAV file that appears whole
// when finished and not at all before; nothing left behind when it fails.

#include <gtest/gtest.h>
#include <sndfile.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/audio/SoundFileWriter.h"
#include "platform/audio/desktop/SndfileWriter.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class SndfileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing_support::temporaryFolder() / "writer";
        fs::remove_all(folder);
        fs::create_directories(folder);
        platform::setSoundFileWriterFactory(platform::audio::desktop::makeSndfileWavWriter);
    }
    void TearDown() override {
        platform::setSoundFileWriterFactory({});
        fs::remove_all(testing_support::temporaryFolder());
    }
    fs::path folder;
};

TEST_F(SndfileWriterTest, WritesTheCanonicalHeaderAndLittleEndianSamples) {
    const fs::path path = folder / "tone.wav";
    std::string error;
    auto writer = platform::createSoundFileWriter(path, 44100, 2, error);
    ASSERT_TRUE(writer) << error;
    const std::vector<int16_t> samples{1, -1, 0x1234, -32768};
    ASSERT_TRUE(writer->write(samples));
    ASSERT_TRUE(writer->finish()) << writer->error();

    const std::string bytes = contentsOf(path);
    const std::string header("RIFF\x2c\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00"
                             "\x10\xb1\x02\x00\x04\x00\x10\x00" "data\x08\x00\x00\x00", 44);
    ASSERT_EQ(bytes.size(), 52u);
    EXPECT_EQ(bytes.substr(0, 44), header);
    EXPECT_EQ(bytes.substr(44), std::string("\x01\x00\xff\xff\x34\x12\x00\x80", 8));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"tone.wav"});
}

TEST_F(SndfileWriterTest, TheTargetStaysAsItWasUntilTheNewFileIsFinished) {
    const fs::path path = folder / "tone.wav";
    std::ofstream(path) << "the old recording";
    std::string error;
    auto writer = platform::createSoundFileWriter(path, 44100, 1, error);
    ASSERT_TRUE(writer) << error;
    ASSERT_TRUE(writer->write(std::vector<int16_t>(1000, 7)));
    EXPECT_EQ(contentsOf(path), "the old recording");
    EXPECT_EQ(namesIn(folder).size(), 2u) << "a temporary file beside the target";
    ASSERT_TRUE(writer->finish());
    EXPECT_EQ(fs::file_size(path), 44u + 2000u);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"tone.wav"});
}

TEST_F(SndfileWriterTest, AWriterDroppedUnfinishedLeavesTheTargetAndNoTemporaryFile) {
    const fs::path path = folder / "tone.wav";
    std::ofstream(path) << "the old recording";
    {
        std::string error;
        auto writer = platform::createSoundFileWriter(path, 44100, 1, error);
        ASSERT_TRUE(writer);
        ASSERT_TRUE(writer->write(std::vector<int16_t>(1000, 7)));
    }
    EXPECT_EQ(contentsOf(path), "the old recording");
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"tone.wav"});
}

TEST_F(SndfileWriterTest, AFailedWriteOrFinishRemovesTheTemporaryFile) {
    // A partial frame fails the writer; finishing it then puts nothing in place.
    {
        std::string error;
        auto writer = platform::createSoundFileWriter(folder / "odd.wav", 44100, 2, error);
        ASSERT_TRUE(writer);
        EXPECT_FALSE(writer->write(std::vector<int16_t>{1, 2, 3}));
        EXPECT_FALSE(writer->finish());
        EXPECT_FALSE(writer->error().empty());
    }
    // A folder where the file should go: the rename fails, even for root.
    fs::create_directory(folder / "in-the-way.wav");
    {
        std::string error;
        auto writer = platform::createSoundFileWriter(folder / "in-the-way.wav", 44100, 1, error);
        ASSERT_TRUE(writer) << error;
        ASSERT_TRUE(writer->write(std::vector<int16_t>(10, 1)));
        EXPECT_FALSE(writer->finish());
        EXPECT_NE(writer->error().find("in-the-way.wav"), std::string::npos) << writer->error();
    }
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"in-the-way.wav"});
}

TEST_F(SndfileWriterTest, SaysWhyAFileCannotBeCreated) {
    std::string error;
    EXPECT_FALSE(platform::createSoundFileWriter(folder / "no-such-folder" / "x.wav", 44100, 2, error));
    EXPECT_NE(error.find("x.wav"), std::string::npos) << error;
    EXPECT_FALSE(platform::createSoundFileWriter(folder / "x.wav", 44100, 0, error));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{});
}

TEST(SoundFileWriterService, WithoutAnInstalledWriterNoFileCanBeWritten) {
    platform::setSoundFileWriterFactory({});
    std::string error;
    EXPECT_FALSE(platform::createSoundFileWriter(testing_support::temporaryFolder() / "x.wav", 44100, 2, error));
    EXPECT_NE(error.find("cannot write sound files"), std::string::npos) << error;
}

}  // namespace
