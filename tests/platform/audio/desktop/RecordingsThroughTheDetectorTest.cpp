// Recordings through the detector: a 48 kHz stereo recording of the five open
// strings, analysed buffer by buffer (on one thread or several, to the same
// estimates) and played as the microphone while a 10 ms tick asks for the
// estimate, the two advancing on one virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "pitch/BufferAnalysis.h"
#include "platform/audio/desktop/RecordingInput.h"
#include "tests/pitch/CaptureFixture.h"
#include "tests/pitch/PluckedString.h"
#include "tests/platform/audio/desktop/RecordingSamples.h"
#include "tests/support/WaveFiles.h"

namespace {

using namespace pitch_testing;

constexpr double kRecordingRate = 48000.0;
constexpr double kPluckSeconds = 1.2;
const double kStrings[] = {kE5, kA4, kE4, kC5, kG4};
constexpr double kToleranceCents = 1.5;

// The five open strings, one after another, each plucked afresh, on two
// channels that hear slightly different noise.
std::filesystem::path recordFiveStrings() {
    const auto pluckSamples = static_cast<size_t>(kPluckSeconds * kRecordingRate);
    std::vector<int16_t> left;
    std::vector<int16_t> right;
    for (const double pitch : kStrings) {
        const auto l = pluckedString({.frequency = pitch, .sampleRate = kRecordingRate, .noiseSeed = 3}, pluckSamples);
        const auto r = pluckedString({.frequency = pitch, .sampleRate = kRecordingRate, .noiseSeed = 4}, pluckSamples);
        left.insert(left.end(), l.begin(), l.end());
        right.insert(right.end(), r.begin(), r.end());
    }
    const auto path = testing_support::temporaryFolder() / "five-strings-48k-stereo.wav";
    platform_testing::writeWave(path, platform_testing::interleave(left, right), 48000, 2);
    return path;
}

// The string sounding at `seconds`, or nothing in the last moments of a
// pluck, where a buffer may reach into the next one.
std::optional<double> stringAt(double seconds, double spanSeconds) {
    const auto index = static_cast<size_t>(seconds / kPluckSeconds);
    if (index >= std::size(kStrings)) return std::nullopt;
    if (seconds + spanSeconds > (static_cast<double>(index) + 1) * kPluckSeconds) return std::nullopt;
    return kStrings[index];
}

using PitchRecording = CaptureTest;

TEST_F(PitchRecording, AnalysesAStereoRecordingAtAnotherRateBufferByBuffer) {
    const auto samples = platform_testing::captureSamples(recordFiveStrings(), kCaptureRate);
    ASSERT_FALSE(samples.empty());

    auto detector = std::make_unique<pitch::PitchEstimator>(kCaptureRate);
    int judged = 0;
    pitch::analyzeBuffers(*detector, samples, [&](const pitch::BufferEstimate& estimate) {
        const auto pitch = stringAt(estimate.time, 4096 / kCaptureRate);
        if (!pitch) return;
        ++judged;
        EXPECT_LE(std::abs(centsBetween(estimate.frequency, *pitch)), kToleranceCents) << "at " << estimate.time;
        EXPECT_EQ(detector->frequencyOfBin(estimate.bin), estimate.frequency);
        EXPECT_GT(estimate.level, 0.001f);
    });
    EXPECT_GE(judged, 15);
}

TEST_F(PitchRecording, EstimatesOnSeveralThreadsExactlyAsOnOne) {
    std::vector<int16_t> samples;
    for (const double pitch : kStrings) {
        const auto pluck = pluckedString({.frequency = pitch, .noiseSeed = 5}, 3 * 4096 + 700);
        samples.insert(samples.end(), pluck.begin(), pluck.end());
    }
    std::vector<pitch::BufferEstimate> alone;
    auto detector = std::make_unique<pitch::PitchEstimator>(kCaptureRate);
    pitch::analyzeBuffers(*detector, samples, [&](const pitch::BufferEstimate& estimate) { alone.push_back(estimate); });
    ASSERT_EQ(alone.size(), (samples.size() + 4095) / 4096);

    for (const unsigned jobs : {1u, 2u, 3u}) {
        SCOPED_TRACE(jobs);
        const auto read = piecesOf(samples);
        std::vector<pitch::BufferEstimate> together;
        pitch::analyzeBuffers(kCaptureRate, read, jobs,
                              [&](const pitch::BufferEstimate& estimate) { together.push_back(estimate); });
        ASSERT_EQ(together.size(), alone.size());
        for (size_t i = 0; i < alone.size(); ++i) {
            EXPECT_EQ(together[i].time, alone[i].time);
            EXPECT_EQ(together[i].bin, alone[i].bin);
            EXPECT_EQ(together[i].frequency, alone[i].frequency);
            EXPECT_EQ(together[i].level, alone[i].level);
        }
    }
}

TEST_F(PitchRecording, PlaysAsTheMicrophoneInStepWithTheTick) {
    std::string error;
    ASSERT_TRUE(platform::audio::desktop::installRecordingInput(recordFiveStrings(), error)) << error;
    auto listener = makeListener();
    listener->listen();
    const double start = loop->now();

    int judged = 0;
    auto tick = loop->scheduleRepeating(0.01, [&] {
        const float frequency = listener->frequency();
        // The newest buffer ended at the last hand-over, at most one buffer ago.
        const double bufferSeconds = 4096 / kCaptureRate;
        const double elapsed = loop->now() - start;
        const double bufferStart = std::floor(elapsed / bufferSeconds - 1e-9) * bufferSeconds - bufferSeconds;
        if (bufferStart < 0.0) {
            EXPECT_EQ(frequency, 0.0f) << "at " << elapsed;
            return;
        }
        const auto pitch = stringAt(bufferStart, bufferSeconds);
        if (!pitch) return;
        ++judged;
        EXPECT_LE(std::abs(centsBetween(frequency, *pitch)), kToleranceCents) << "at " << elapsed;
        EXPECT_GT(listener->averagePower(), 0.001f);
    });
    advance(std::size(kStrings) * kPluckSeconds);
    tick->invalidate();
    EXPECT_GT(judged, 400);
}

}  // namespace
