// Recordings as capture samples: exact at the capture rate, channels mixed to
// their mean, other rates converted; damaged files give what they hold or a
// reason, never a crash.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <vector>

#include "platform/audio/desktop/RecordingDecoder.h"
#include "tests/support/WaveFiles.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;
using platform::media::captureSamples;
using platform::media::readMonoRecording;
using platform_testing::writeWave;

constexpr double kCaptureRate = 14039.0;

std::vector<int16_t> sine(double frequency, double rate, double seconds, double amplitude) {
    std::vector<int16_t> samples(static_cast<size_t>(std::lround(seconds * rate)));
    for (size_t n = 0; n < samples.size(); ++n) {
        samples[n] = static_cast<int16_t>(
            std::lround(amplitude * 32767.0 * std::sin(2.0 * std::numbers::pi * frequency * static_cast<double>(n) / rate)));
    }
    return samples;
}

std::vector<int16_t> decoded(const fs::path& path, double rate = kCaptureRate) {
    std::string error;
    const auto recording = readMonoRecording(path, error);
    EXPECT_TRUE(recording) << error;
    if (!recording) return {};
    const auto samples = captureSamples(*recording, rate, error);
    EXPECT_TRUE(samples) << error;
    return samples.value_or(std::vector<int16_t>{});
}

TEST(PlatformRecording, ReadsACaptureRateRecordingSampleForSample) {
    const auto path = testing_support::temporaryFolder() / "capture-rate.wav";
    const auto samples = sine(440.0, kCaptureRate, 0.5, 0.7);
    writeWave(path, samples, 14039);
    EXPECT_EQ(decoded(path), samples);
}

TEST(PlatformRecording, MixesTheChannelsToTheirMean) {
    const auto path = testing_support::temporaryFolder() / "stereo.wav";
    const auto tone = sine(523.25, kCaptureRate, 0.2, 0.4);
    std::vector<int16_t> doubled(tone.size());
    for (size_t i = 0; i < tone.size(); ++i) doubled[i] = static_cast<int16_t>(2 * tone[i]);
    const std::vector<int16_t> silent(tone.size(), 0);
    writeWave(path, platform_testing::interleave(doubled, silent), 14039, 2);
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
    writeWave(path, samples, 14039);
    // Cut inside the 6001st sample: the header still promises all of them.
    fs::resize_file(path, platform_testing::kWaveHeaderBytes + 2 * 6000 + 1);
    const auto held = decoded(path);
    ASSERT_EQ(held.size(), 6000u);
    EXPECT_TRUE(std::equal(held.begin(), held.end(), samples.begin()));
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
             writeWave(path, sine(440.0, kCaptureRate, 0.1, 0.5), 14039);
             fs::resize_file(path, 30);
         },
         "is not a sound file ("},
        {"no samples", [](const fs::path& path) { writeWave(path, std::vector<int16_t>{}, 14039); }, "holds no sound"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto path = testing_support::temporaryFolder() / "damaged";
        fs::remove_all(path);
        c.make(path);
        std::string error;
        EXPECT_FALSE(readMonoRecording(path, error));
        EXPECT_EQ(error.rfind(c.reason, 0), 0u) << error;
    }
}

TEST(PlatformRecording, RefusesARateTooFarFromTheCaptureRate) {
    const platform::media::MonoRecording crawl{std::vector<float>(100, 0.1f), 20.0};
    std::string error;
    EXPECT_FALSE(captureSamples(crawl, kCaptureRate, error));
    EXPECT_EQ(error, "has a sample rate of 20 Hz, which cannot be converted to 14039 Hz");
}

}  // namespace
