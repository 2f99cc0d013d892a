// WAV files as the tone command writes them: the canonical 44-byte header,
// little-endian samples, and clear refusals.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/audio/WavWriter.h"
#include "tests/support/PlainPlatform.h"

namespace {

std::vector<unsigned char> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(WavWriterTest, WritesTheHeaderAndLittleEndianSamples) {
    const auto path = testing_support::temporaryFolder() / "two-frames.wav";
    std::string error;
    auto writer = platform::WavWriter::create(path, 44100, 2, error);
    ASSERT_TRUE(writer) << error;
    EXPECT_TRUE(writer->write(std::vector<int16_t>{1, -2}));
    EXPECT_TRUE(writer->write(std::vector<int16_t>{300, -32768}));
    ASSERT_TRUE(writer->finish()) << writer->error();
    EXPECT_FALSE(writer->finish());
    const std::vector<unsigned char> expected{
        'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E',                    //
        'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0, 2, 0,                            // PCM, 2 channels
        0x44, 0xac, 0, 0, 0x10, 0xb1, 0x02, 0, 4, 0, 16, 0,                     // 44100 Hz, 176400 B/s, 4, 16 bits
        'd', 'a', 't', 'a', 8, 0, 0, 0,                                         //
        0x01, 0x00, 0xfe, 0xff, 0x2c, 0x01, 0x00, 0x80,                         // 1, -2, 300, -32768
    };
    EXPECT_EQ(bytesOf(path), expected);
}

TEST(WavWriterTest, RefusesAPartialFrame) {
    std::string error;
    auto writer = platform::WavWriter::create(testing_support::temporaryFolder() / "odd.wav", 44100, 2, error);
    ASSERT_TRUE(writer) << error;
    EXPECT_FALSE(writer->write(std::vector<int16_t>{1, 2, 3}));
    EXPECT_NE(writer->error().find("partial frame"), std::string::npos) << writer->error();
    EXPECT_FALSE(writer->finish());
}

TEST(WavWriterTest, SaysWhyAFileCannotBeCreated) {
    const auto path = testing_support::temporaryFolder() / "missing-folder" / "tone.wav";
    std::string error;
    EXPECT_FALSE(platform::WavWriter::create(path, 44100, 2, error));
    EXPECT_NE(error.find(path.string()), std::string::npos) << error;
    EXPECT_FALSE(platform::WavWriter::create(testing_support::temporaryFolder() / "x.wav", 44100, 0, error));
}

}  // namespace
