// A recording standing in for the microphone: each buffer handed over on the
// queue's thread when its last sample is due by the run loop's clock, virtual
// or real, silence after the end, and a stop that holds the recording where it is.
#include <gtest/gtest.h>

#include <chrono>
#include <numeric>
#include <thread>
#include <vector>

#include "pitch/CaptureFormat.h"
#include "platform/audio/AudioQueueFeeder.h"
#include "platform/audio/desktop/RecordingInput.h"
#include "tests/platform/audio/HandOverLog.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/WaveFiles.h"

namespace {

using platform::AudioQueue;
using platform_testing::HandOverLog;

constexpr double kRate = pitch::kCaptureSampleRate;
constexpr int kBufferSamples = 4096;
constexpr double kBufferSeconds = kBufferSamples / kRate;
// Well below a sample's 71 µs, well above the rounding of a date near 2026.
constexpr double kSlack = 1e-5;

class PlatformRecordingInput : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        recording.resize(2 * kBufferSamples + 100);
        std::iota(recording.begin(), recording.end(), int16_t{1});
        const auto path = testing_support::temporaryFolder() / "ramp.wav";
        platform_testing::writeWave(path, recording, static_cast<uint32_t>(kRate));
        std::string error;
        ASSERT_TRUE(platform::audio::desktop::installRecordingInput(path, error)) << error;
    }
    void TearDown() override {
        queue.reset();
        PlainPlatformTest::TearDown();
    }

    // Moves the clock to `seconds` after the queue started.
    void advanceTo(double seconds) { advance(startDate + seconds - loop->now()); }

    void startQueue() {
        startDate = platform::RunLoop::main()->now();
        ASSERT_EQ(AudioQueue::newInput(pitch::captureFormat(kRate), &HandOverLog::callback, &log, queue),
                  platform::kAudioNoError);
        for (int i = 0; i < 3; ++i) {
            platform::AudioQueueBuffer* buffer = nullptr;
            queue->allocateBuffer(2 * kBufferSamples, &buffer);
            queue->enqueueBuffer(buffer);
        }
        ASSERT_EQ(queue->start(), platform::kAudioNoError);
    }

    std::vector<int16_t> recordingPart(size_t first, size_t count) const {
        std::vector<int16_t> part(count, 0);
        for (size_t i = 0; i < count && first + i < recording.size(); ++i) part[i] = recording[first + i];
        return part;
    }

    std::vector<int16_t> recording;
    double startDate = 0.0;
    HandOverLog log;
    std::unique_ptr<AudioQueue> queue;
};

TEST_F(PlatformRecordingInput, HandsEachBufferOverWhenItsLastSampleIsDue) {
    startQueue();
    for (size_t buffer = 0; buffer < 4; ++buffer) {
        SCOPED_TRACE(buffer);
        advanceTo(static_cast<double>(buffer + 1) * kBufferSeconds - kSlack);
        EXPECT_EQ(log.count(), buffer);
        advanceTo(static_cast<double>(buffer + 1) * kBufferSeconds + kSlack);
        ASSERT_EQ(log.count(), buffer + 1);
        const auto& handOver = log.handOvers.back();
        // Past the end of the recording: silence.
        EXPECT_EQ(handOver.samples, recordingPart(buffer * kBufferSamples, kBufferSamples));
        EXPECT_NE(handOver.thread, std::this_thread::get_id());
    }
}

TEST_F(PlatformRecordingInput, OnARealClockAThreadOfItsOwnHandsTheSameBuffersOverWhenDue) {
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Real));
    startQueue();
    // Far longer than the three buffers' 0.9 s take on any machine.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (log.count() < 3 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    queue->stop();
    const size_t handedOver = log.count();
    ASSERT_GE(handedOver, 3u);
    for (size_t buffer = 0; buffer < handedOver; ++buffer) {
        SCOPED_TRACE(buffer);
        const auto& handOver = log.handOvers[buffer];
        EXPECT_EQ(handOver.samples, recordingPart(buffer * kBufferSamples, kBufferSamples));
        EXPECT_GE(handOver.date, startDate + static_cast<double>(buffer + 1) * kBufferSeconds);
        EXPECT_NE(handOver.thread, std::this_thread::get_id());
    }
    // Stopped means stopped: nothing comes after.
    std::this_thread::sleep_for(std::chrono::duration<double>(2 * kBufferSeconds));
    EXPECT_EQ(log.count(), handedOver);
}

TEST_F(PlatformRecordingInput, HoldsTheRecordingWhileStopped) {
    startQueue();
    advanceTo(kBufferSeconds + kSlack);
    ASSERT_EQ(log.count(), 1u);
    queue->stop();
    advanceTo(10 * kBufferSeconds);
    EXPECT_EQ(log.count(), 1u);

    queue->start();
    advanceTo(11 * kBufferSeconds + kSlack);
    ASSERT_EQ(log.count(), 2u);
    EXPECT_EQ(log.handOvers.back().samples, recordingPart(kBufferSamples, kBufferSamples));
}

TEST_F(PlatformRecordingInput, AnUnreadableFileLeavesTheInputAsItWas) {
    auto feeder = platform::AudioQueueFeeder::install();
    std::string error;
    EXPECT_FALSE(platform::audio::desktop::installRecordingInput(testing_support::temporaryFolder() / "absent.wav", error));
    EXPECT_EQ(error, "no such file");
    startQueue();
    EXPECT_EQ(feeder->queuesMade(), 1);
}

}  // namespace
