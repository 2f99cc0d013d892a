// Recordings as capture samples: exact at the capture rate, channels mixed to
// their mean, other rates converted; damaged files give what they hold or a
// reason, never a crash; pipes read as files do; memory flat however long.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <thread>
#include <vector>

#include "pitch/CaptureFormat.h"
#include "platform/audio/desktop/RecordingDecoder.h"
#include "platform/audio/desktop/RecordingStream.h"
#include "tests/platform/audio/desktop/RecordingSamples.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/WaveFiles.h"

namespace {

namespace fs = std::filesystem;
using platform::audio::desktop::RecordingDecoder;
using platform::audio::desktop::RecordingStream;
using platform_testing::writeWave;

constexpr double kCaptureRate = pitch::kCaptureSampleRate;
constexpr auto kCaptureRateHz = static_cast<uint32_t>(kCaptureRate);

std::vector<int16_t> sine(double frequency, double rate, double seconds, double amplitude) {
    std::vector<int16_t> samples(static_cast<size_t>(std::lround(seconds * rate)));
    for (size_t n = 0; n < samples.size(); ++n) {
        samples[n] = static_cast<int16_t>(
            std::lround(amplitude * 32767.0 * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(n) / rate)));
    }
    return samples;
}

std::vector<int16_t> decoded(const fs::path& path) { return platform_testing::captureSamples(path, kCaptureRate); }

// A FLAC file of `seconds` of `samples` repeated, at `rate`, written a second at a time.
void writeFlac(const fs::path& path, int rate, int seconds, const std::vector<int16_t>& second) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    double fastest = 0.0;
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &fastest, sizeof fastest);
    for (int s = 0; s < seconds; ++s) {
        ASSERT_EQ(sf_writef_short(file, second.data(), static_cast<sf_count_t>(second.size())),
                  static_cast<sf_count_t>(second.size()));
    }
    sf_close(file);
}

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A pipe whose reading end is named as `<(cat FILE)` names it, fed `bytes` by
// a thread of its own (so a recording larger than the pipe's buffer streams).
class Pipe {
public:
    explicit Pipe(std::string bytes) {
        int ends[2];
        if (::pipe(ends) != 0) ADD_FAILURE() << "no pipe";
        readEnd_ = ends[0];
        writer_ = std::thread([fd = ends[1], bytes = std::move(bytes)] {
            for (size_t written = 0; written < bytes.size();) {
                const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
                if (n <= 0) break;
                written += static_cast<size_t>(n);
            }
            ::close(fd);
        });
    }
    ~Pipe() {
        writer_.join();
        ::close(readEnd_);
    }
    fs::path path() const { return "/dev/fd/" + std::to_string(readEnd_); }

private:
    int readEnd_ = -1;
    std::thread writer_;
};

// The most the process has held so far, in bytes.
long peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024L;
}

TEST(PlatformRecording, ReadsACaptureRateRecordingSampleForSample) {
    const auto path = testing_support::temporaryFolder() / "capture-rate.wav";
    const auto samples = sine(440.0, kCaptureRate, 0.5, 0.7);
    writeWave(path, samples, kCaptureRateHz);
    EXPECT_EQ(decoded(path), samples);
}

TEST(PlatformRecording, MixesTheChannelsToTheirMean) {
    const auto path = testing_support::temporaryFolder() / "stereo.wav";
    const auto tone = sine(523.25, kCaptureRate, 0.2, 0.4);
    std::vector<int16_t> doubled(tone.size());
    for (size_t i = 0; i < tone.size(); ++i) doubled[i] = static_cast<int16_t>(2 * tone[i]);
    const std::vector<int16_t> silent(tone.size(), 0);
    writeWave(path, platform_testing::interleave(doubled, silent), kCaptureRateHz, 2);
    EXPECT_EQ(decoded(path), tone);
}

TEST(PlatformRecording, ConvertsOtherRatesKeepingPitchAndLevel) {
    const auto path = testing_support::temporaryFolder() / "48k-stereo.wav";
    constexpr double kSeconds = 2.0;
    const auto tone = sine(440.0, 48000.0, kSeconds, 0.3);
    writeWave(path, platform_testing::interleave(tone, tone), 48000, 2);
    const auto samples = decoded(path);

    EXPECT_NEAR(static_cast<double>(samples.size()), kSeconds * kCaptureRate, 2.0);
    int signChanges = 0;
    double sumOfSquares = 0.0;
    for (size_t i = 1; i < samples.size(); ++i) {
        if ((samples[i - 1] < 0) != (samples[i] < 0)) ++signChanges;
        sumOfSquares += static_cast<double>(samples[i]) * samples[i];
    }
    EXPECT_NEAR(signChanges / (2.0 * kSeconds), 440.0, 1.0);
    EXPECT_NEAR(std::sqrt(sumOfSquares / static_cast<double>(samples.size())) / 32767.0, 0.3 / std::sqrt(2.0), 0.003);
}

TEST(PlatformRecording, GivesWhatATruncatedFileHolds) {
    const auto path = testing_support::temporaryFolder() / "truncated.wav";
    const auto samples = sine(392.0, kCaptureRate, 1.0, 0.5);
    writeWave(path, samples, kCaptureRateHz);
    // Cut inside the 6001st sample: the header still promises all of them.
    fs::resize_file(path, platform_testing::kWaveHeaderBytes + 2 * 6000 + 1);
    const auto held = decoded(path);
    ASSERT_EQ(held.size(), 6000u);
    EXPECT_TRUE(std::equal(held.begin(), held.end(), samples.begin()));
}

// A compressed (G.721 ADPCM) WAV file cut short packs a frame into less than
// a byte, so the length its header states cannot be told in frames: what is
// there is what it holds, and no arithmetic on the header goes astray.
TEST(PlatformRecording, HoldsWhatACompressedFileCutShortHolds) {
    const unsigned char adpcmCutShort[] = {
        0x52, 0x49, 0x46, 0x46, 0xec, 0x00, 0x00, 0x00, 0x57, 0x41, 0x56, 0x45, 0x66, 0x6d, 0x74, 0x20,
        0x10, 0x00, 0x00, 0x00, 0x40, 0x00, 0x01, 0x00, 0x01, 0x1f, 0x00, 0x00, 0x40, 0x1f, 0x00, 0x00,
        0x01, 0x00, 0x08, 0x00, 0x64, 0x61, 0x74, 0x61, 0xc8, 0x00, 0x00, 0x00, 0x80, 0x9d, 0xb8, 0xce,
        0xdd, 0x1d, 0x28, 0xd6, 0xc3, 0xaa, 0x8e, 0x71, 0x54, 0x3c, 0x29, 0x1f, 0x1d, 0x24, 0x36, 0x49,
        0x65, 0x81, 0x9f, 0xb9, 0xcf, 0xdd, 0xe3, 0xe0, 0xd5, 0xc2, 0xa9, 0x8c, 0x6f, 0x53, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3b,
        0x29, 0x1e, 0x1d, 0x25, 0xff, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3b, 0x29, 0x1e, 0x1d, 0x25, 0xff,
        0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xb7, 0x9c, 0x80,
    };
    const auto path = testing_support::temporaryFolder() / "adpcm-cut-short.wav";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(adpcmCutShort), sizeof adpcmCutShort);
    std::string error;
    const auto decoder = platform::audio::desktop::RecordingDecoder::open(path, error);
    ASSERT_NE(decoder, nullptr) << error;
    size_t frames = 0;
    for (std::vector<float> piece; decoder->read(piece), !piece.empty();) frames += piece.size();
    ASSERT_TRUE(decoder->seconds().has_value());
    EXPECT_DOUBLE_EQ(*decoder->seconds(), static_cast<double>(frames) / decoder->sampleRate());
    EXPECT_EQ(decoder->shortfall(), "");
}

struct DamagedCase {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* reason;
};

TEST(PlatformRecording, SaysWhyAFileHoldsNoSound) {
    const DamagedCase cases[] = {
        {"missing", [](const fs::path&) {}, "no such file"},
        {"empty", [](const fs::path& path) { std::ofstream{path}; }, "is empty"},
        {"a folder", [](const fs::path& path) { fs::create_directory(path); }, "is a directory"},
        {"random bytes",
         [](const fs::path& path) {
             std::ofstream out(path, std::ios::binary);
             uint32_t state = 12345;
             for (int i = 0; i < 4000; ++i) {
                 state = state * 1103515245u + 12345u;
                 out.put(static_cast<char>(state >> 24));
             }
         },
         "is not a sound file ("},
        {"cut inside the header",
         [](const fs::path& path) {
             writeWave(path, sine(440.0, kCaptureRate, 0.1, 0.5), kCaptureRateHz);
             fs::resize_file(path, 30);
         },
         "is not a sound file ("},
        {"no samples", [](const fs::path& path) { writeWave(path, std::vector<int16_t>{}, kCaptureRateHz); }, "holds no sound"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = testing_support::temporaryFolder() / "damaged";
        fs::remove_all(path);
        c.make(path);
        std::string error;
        EXPECT_FALSE(RecordingDecoder::open(path, error));
        EXPECT_EQ(error.rfind(c.reason, 0), 0u) << error;
    }
}

TEST(PlatformRecording, RefusesARateTooFarFromTheCaptureRate) {
    const auto path = testing_support::temporaryFolder() / "crawl.wav";
    writeWave(path, std::vector<int16_t>(100, 3000), 20);
    std::string error;
    EXPECT_FALSE(RecordingStream::open(path, kCaptureRate, error));
    EXPECT_EQ(error, "has a sample rate of 20 Hz, which cannot be converted to 14039 Hz");
}

TEST(PlatformRecording, ReadsARecordingThroughAPipeAsFromItsFile) {
    const auto path = testing_support::temporaryFolder() / "piped-48k-stereo.wav";
    // Three seconds: far more than a pipe's buffer holds at once.
    const auto tone = sine(440.0, 48000.0, 3.0, 0.3);
    writeWave(path, platform_testing::interleave(tone, tone), 48000, 2);
    const auto fromFile = decoded(path);
    ASSERT_FALSE(fromFile.empty());
    Pipe pipe(fileBytes(path));
    EXPECT_EQ(decoded(pipe.path()), fromFile);
}

TEST(PlatformRecording, SaysWhenAFormatThatNeedsSeekingComesThroughAPipe) {
    const auto path = testing_support::temporaryFolder() / "piped.flac";
    writeFlac(path, 44100, 1, sine(440.0, 44100.0, 1.0, 0.3));
    ASSERT_FALSE(decoded(path).empty());
    const std::string bytes = fileBytes(path);
    // All of it fits the pipe's buffer, so the writer is done before the reader gives up.
    ASSERT_LT(bytes.size(), 65536u);
    Pipe pipe(bytes);
    std::string error;
    EXPECT_FALSE(RecordingDecoder::open(pipe.path(), error));
    EXPECT_EQ(error.rfind("cannot be read through a pipe (", 0), 0u) << error;
    EXPECT_NE(error.find("must be given as a file"), std::string::npos) << error;
}

TEST(PlatformRecording, GoesBackToTheFirstSampleOfAFileButNotOfAPipe) {
    const auto path = testing_support::temporaryFolder() / "rewound.wav";
    const auto tone = sine(330.0, 22050.0, 1.0, 0.5);
    writeWave(path, tone, 22050);
    const auto whole = decoded(path);
    std::string error;
    std::vector<int16_t> part(5000);

    const auto file = RecordingStream::open(path, kCaptureRate, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->read(part), part.size());
    ASSERT_TRUE(file->rewind());
    std::vector<int16_t> again(whole.size() + 10);
    EXPECT_EQ(file->read(again), whole.size());
    again.resize(whole.size());
    EXPECT_EQ(again, whole);

    Pipe pipe(fileBytes(path));
    const auto piped = RecordingStream::open(pipe.path(), kCaptureRate, error);
    ASSERT_TRUE(piped) << error;
    ASSERT_EQ(piped->read(part), part.size());
    EXPECT_FALSE(piped->rewind());
    // It goes on where it was.
    std::vector<int16_t> rest(whole.size());
    EXPECT_EQ(piped->read(rest), whole.size() - part.size());
}

TEST(PlatformRecording, ReadsAnHourAt192kHzInBoundedMemory) {
    // 2.3 MB of FLAC that decodes to 691 million samples (2.6 GB as floats).
    const auto path = testing_support::temporaryFolder() / "hour-of-silence-192k.flac";
    writeFlac(path, 192000, 3600, std::vector<int16_t>(192000, 0));
    std::string error;
    const auto stream = RecordingStream::open(path, kCaptureRate, error);
    ASSERT_TRUE(stream) << error;
    EXPECT_EQ(stream->seconds(), 3600.0);

    const long peakBefore = peakResidentBytes();
    std::vector<int16_t> buffer(4096);
    size_t total = 0;
    bool silent = true;
    for (size_t got; (got = stream->read(buffer)) > 0;) {
        total += got;
        silent = silent && std::all_of(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got),
                                       [](int16_t sample) { return sample == 0; });
    }
    EXPECT_NEAR(static_cast<double>(total), 3600.0 * kCaptureRate, 2.0);
    EXPECT_TRUE(silent);
    EXPECT_LT(peakResidentBytes() - peakBefore, 32L << 20);
}

}  // namespace
