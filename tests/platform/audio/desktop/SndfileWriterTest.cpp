// The desktop's sound-file writer: a 16-bit PCM WAV file that appears whole
// when finished and not at all before; nothing left behind when it fails.

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <fstream>
#include <future>
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
    auto writer = platform::createSoundFileWriter(path, 44100, 2, 2, error);
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
    auto writer = platform::createSoundFileWriter(path, 44100, 1, 1000, error);
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
        auto writer = platform::createSoundFileWriter(path, 44100, 1, 1000, error);
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
        auto writer = platform::createSoundFileWriter(folder / "odd.wav", 44100, 2, 2, error);
        ASSERT_TRUE(writer);
        EXPECT_FALSE(writer->write(std::vector<int16_t>{1, 2, 3}));
        EXPECT_FALSE(writer->finish());
        EXPECT_FALSE(writer->error().empty());
    }
    // A folder put where the file should go while it was written: nothing
    // but a regular file is ever replaced, even by root.
    {
        std::string error;
        auto writer = platform::createSoundFileWriter(folder / "in-the-way.wav", 44100, 1, 10, error);
        ASSERT_TRUE(writer) << error;
        ASSERT_TRUE(writer->write(std::vector<int16_t>(10, 1)));
        fs::create_directory(folder / "in-the-way.wav");
        EXPECT_FALSE(writer->finish());
        EXPECT_EQ(writer->error(), "cannot write " + (folder / "in-the-way.wav").string() +
                                       ": it is no longer a regular file");
    }
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"in-the-way.wav"});
    EXPECT_TRUE(fs::is_directory(folder / "in-the-way.wav"));
}

TEST_F(SndfileWriterTest, SaysWhyAFileCannotBeCreated) {
    std::string error;
    EXPECT_FALSE(platform::createSoundFileWriter(folder / "no-such-folder" / "x.wav", 44100, 2, 1, error));
    EXPECT_NE(error.find("x.wav"), std::string::npos) << error;
    EXPECT_FALSE(platform::createSoundFileWriter(folder / "x.wav", 44100, 0, 1, error));
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{});
}

// Reads everything a FIFO gets until its writer closes it, on a thread of its own.
class FifoReader {
public:
    explicit FifoReader(const fs::path& fifo)
        : reading_(std::async(std::launch::async, [fifo] { return contentsOf(fifo); })) {}
    std::string bytes() { return reading_.get(); }

private:
    std::future<std::string> reading_;
};

TEST_F(SndfileWriterTest, APipeOrADeviceGetsTheWavStraightAndStaysWhatItWas) {
    const std::vector<int16_t> samples{1, -1, 0x1234, -32768, 7, 8};
    // The same samples in a regular file: what the stream must read as.
    std::string error;
    auto regular = platform::createSoundFileWriter(folder / "regular.wav", 44100, 2, 3, error);
    ASSERT_TRUE(regular && regular->write(samples) && regular->finish()) << error;
    const std::string expected = contentsOf(folder / "regular.wav");

    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path link = folder / "link-to-fifo";
    fs::create_symlink(fifo, link);
    for (const fs::path& target : {fifo, link}) {
        SCOPED_TRACE(target.filename().string());
        FifoReader reader(fifo);
        auto writer = platform::createSoundFileWriter(target, 44100, 2, 3, error);
        ASSERT_TRUE(writer) << error;
        ASSERT_TRUE(writer->write(samples));
        ASSERT_TRUE(writer->finish()) << writer->error();
        writer.reset();
        EXPECT_EQ(reader.bytes(), expected);
        EXPECT_TRUE(fs::is_fifo(fifo));
        EXPECT_TRUE(fs::is_symlink(link));
    }

    // The null device's numbers, made in the scratch folder, never the system's own.
    const fs::path device = folder / "null";
    if (::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) {
        auto writer = platform::createSoundFileWriter(device, 44100, 2, 3, error);
        ASSERT_TRUE(writer) << error;
        ASSERT_TRUE(writer->write(samples));
        ASSERT_TRUE(writer->finish()) << writer->error();
        EXPECT_TRUE(fs::is_character_file(device));
    }
    EXPECT_EQ(namesIn(folder).size(), 4u) << "no temporary file beside any of them";
}

TEST_F(SndfileWriterTest, AStreamGivenOtherThanTheFramesItsHeaderStatesFails) {
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    FifoReader reader(fifo);
    std::string error;
    auto writer = platform::createSoundFileWriter(fifo, 44100, 1, 10, error);
    ASSERT_TRUE(writer) << error;
    EXPECT_FALSE(writer->write(std::vector<int16_t>(11, 1)));
    EXPECT_EQ(writer->error(), "more frames than its header states");
    writer.reset();
    reader.bytes();

    FifoReader second(fifo);
    writer = platform::createSoundFileWriter(fifo, 44100, 1, 10, error);
    ASSERT_TRUE(writer->write(std::vector<int16_t>(4, 1)));
    EXPECT_FALSE(writer->finish());
    EXPECT_EQ(writer->error(), "cannot complete " + fifo.string() + ": 4 of the 10 frames its header states were written");
    writer.reset();
    EXPECT_EQ(second.bytes().size(), 44u + 8u);
}

TEST_F(SndfileWriterTest, AFolderOrABlockDeviceIsRefusedUntouched) {
    fs::create_directory(folder / "folder.wav");
    std::string error;
    EXPECT_FALSE(platform::createSoundFileWriter(folder / "folder.wav", 44100, 2, 1, error));
    EXPECT_EQ(error, "cannot write " + (folder / "folder.wav").string() + ": it is a folder");
    // A loop device's numbers, made in the scratch folder.
    const fs::path disk = folder / "disk";
    if (::mknod(disk.c_str(), S_IFBLK | 0600, makedev(7, 0)) == 0) {
        EXPECT_FALSE(platform::createSoundFileWriter(disk, 44100, 2, 1, error));
        EXPECT_EQ(error, "cannot write " + disk.string() + ": it is a block device; a tone is never written over a disk");
        EXPECT_TRUE(fs::is_block_file(disk));
    }
}

TEST_F(SndfileWriterTest, ALinkToAFileHasItsTargetReplaced) {
    fs::create_directories(folder / "elsewhere");
    std::ofstream(folder / "elsewhere" / "tone.wav") << "the old recording";
    fs::create_symlink("elsewhere/tone.wav", folder / "tone.wav");
    std::string error;
    auto writer = platform::createSoundFileWriter(folder / "tone.wav", 44100, 1, 5, error);
    ASSERT_TRUE(writer && writer->write(std::vector<int16_t>(5, 3)) && writer->finish()) << error;
    EXPECT_TRUE(fs::is_symlink(folder / "tone.wav"));
    EXPECT_EQ(fs::file_size(folder / "elsewhere" / "tone.wav"), 44u + 10u);
}

TEST_F(SndfileWriterTest, TemporaryFilesOfEndedProcessesAreRemovedByTheNextWriter) {
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string leftBehind = "tone.wav.tmp-" + std::to_string(ended) + "-0";
    const std::string stillWriting = "tone.wav.tmp-" + std::to_string(::getppid()) + "-0";
    const std::string otherTarget = "other.wav.tmp-" + std::to_string(ended) + "-0";
    for (const auto& name : {leftBehind, stillWriting, otherTarget}) std::ofstream(folder / name) << "part of a tone";
    std::string error;
    auto writer = platform::createSoundFileWriter(folder / "tone.wav", 44100, 1, 1, error);
    ASSERT_TRUE(writer && writer->write(std::vector<int16_t>{1}) && writer->finish()) << error;
    EXPECT_EQ(namesIn(folder), (std::vector<std::string>{otherTarget, "tone.wav", stillWriting}));
}

TEST(SoundFileWriterService, WithoutAnInstalledWriterNoFileCanBeWritten) {
    platform::setSoundFileWriterFactory({});
    std::string error;
    EXPECT_FALSE(platform::createSoundFileWriter(testing_support::temporaryFolder() / "x.wav", 44100, 2, 1, error));
    EXPECT_NE(error.find("cannot write sound files"), std::string::npos) << error;
}

}  // namespace
