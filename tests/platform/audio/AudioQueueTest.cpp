// The input queue's contract, seen through test-fed queues: buffers filled in
// turn and handed over on the queue's thread, refilled only once put back,
// start and immediate stop, the meter, and the calls it refuses.
#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <vector>

#include "pitch/CaptureFormat.h"
#include "platform/audio/AudioQueue.h"
#include "platform/audio/AudioQueueFeeder.h"
#include "platform/core/Installed.h"
#include "tests/platform/audio/HandOverLog.h"

namespace {

using namespace platform;
using platform_testing::HandOverLog;

AudioStreamBasicDescription monoFormat() { return pitch::captureFormat(); }

std::vector<int16_t> ramp(int16_t first, int count) {
    std::vector<int16_t> samples(static_cast<size_t>(count));
    std::iota(samples.begin(), samples.end(), first);
    return samples;
}

class PlatformAudioQueue : public ::testing::Test {
protected:
    void SetUp() override { feeder = AudioQueueFeeder::install(); }
    void TearDown() override {
        queue.reset();
        platform::resetInstalledServices();
    }

    // A queue of `count` buffers of four samples each, all in line.
    std::vector<AudioQueueBuffer*> makeQueue(int count) {
        EXPECT_EQ(AudioQueue::newInput(monoFormat(), &HandOverLog::callback, &log, queue), kAudioNoError);
        std::vector<AudioQueueBuffer*> buffers(static_cast<size_t>(count));
        for (auto& buffer : buffers) {
            EXPECT_EQ(queue->allocateBuffer(8, &buffer), kAudioNoError);
            EXPECT_EQ(queue->enqueueBuffer(buffer), kAudioNoError);
        }
        return buffers;
    }

    void push(const std::vector<int16_t>& samples) {
        feeder->push(samples);
        feeder->waitUntilDelivered();
    }

    std::shared_ptr<AudioQueueFeeder> feeder;
    HandOverLog log;
    std::unique_ptr<AudioQueue> queue;
};

TEST_F(PlatformAudioQueue, FillsItsBuffersInTurnAndHandsThemOverOnItsOwnThread) {
    const auto buffers = makeQueue(3);
    ASSERT_EQ(queue->start(), kAudioNoError);
    push(ramp(0, 3));
    EXPECT_TRUE(log.handOvers.empty());  // a buffer goes only when full
    push(ramp(3, 13));

    ASSERT_EQ(log.handOvers.size(), 4u);
    const AudioQueueBuffer* order[] = {buffers[0], buffers[1], buffers[2], buffers[0]};
    for (size_t i = 0; i < 4; ++i) {
        const auto& handOver = log.handOvers[i];
        EXPECT_EQ(handOver.buffer, order[i]);
        EXPECT_EQ(handOver.samples, ramp(static_cast<int16_t>(4 * i), 4));
        EXPECT_EQ(handOver.sampleTime, 4.0 * static_cast<double>(i));
        EXPECT_EQ(handOver.packets, 4u);
        EXPECT_NE(handOver.thread, std::this_thread::get_id());
    }
}

TEST_F(PlatformAudioQueue, RefillsABufferOnlyAfterItIsPutBack) {
    log.putBack = false;
    const auto buffers = makeQueue(2);
    queue->start();
    push(ramp(0, 12));  // two buffers' worth heard, the rest lost
    ASSERT_EQ(log.handOvers.size(), 2u);

    ASSERT_EQ(queue->enqueueBuffer(buffers[1]), kAudioNoError);
    push(ramp(100, 4));
    ASSERT_EQ(log.handOvers.size(), 3u);
    EXPECT_EQ(log.handOvers[2].buffer, buffers[1]);
    EXPECT_EQ(log.handOvers[2].samples, ramp(100, 4));
    EXPECT_EQ(log.handOvers[2].sampleTime, 12.0);  // the lost samples still took their time
}

TEST_F(PlatformAudioQueue, StopsAtOnceAndStartsAPartlyFilledBufferAfresh) {
    makeQueue(3);
    uint32_t running = 1;
    ASSERT_EQ(queue->isRunning(running), kAudioNoError);
    EXPECT_EQ(running, 0u);
    push(ramp(0, 8));  // not started: lost
    queue->start();
    queue->isRunning(running);
    EXPECT_EQ(running, 1u);
    push(ramp(10, 2));
    ASSERT_EQ(queue->stop(), kAudioNoError);
    queue->isRunning(running);
    EXPECT_EQ(running, 0u);
    push(ramp(20, 4));  // stopped: lost
    EXPECT_TRUE(log.handOvers.empty());

    queue->start();
    push(ramp(30, 4));
    ASSERT_EQ(log.handOvers.size(), 1u);
    EXPECT_EQ(log.handOvers[0].samples, ramp(30, 4));
}

TEST_F(PlatformAudioQueue, MetersTheLatestFullBufferOnlyWhenAskedTo) {
    makeQueue(3);
    queue->start();
    AudioQueueLevelMeterState level[1];
    EXPECT_EQ(queue->currentLevelMeter(level), kAudioQueueErrMeteringDisabled);
    ASSERT_EQ(queue->setEnableLevelMetering(1), kAudioNoError);
    EXPECT_EQ(queue->currentLevelMeter(level), kAudioNoError);
    EXPECT_EQ(level[0].mAveragePower, 0.0f);

    push({16384, -16384, 16384, -16384, 32767, 0});  // the second buffer is not full yet
    ASSERT_EQ(queue->currentLevelMeter(level), kAudioNoError);
    EXPECT_FLOAT_EQ(level[0].mAveragePower, 0.5f);
    EXPECT_FLOAT_EQ(level[0].mPeakPower, 0.5f);

    AudioQueueLevelMeterState twoChannels[2];
    EXPECT_EQ(queue->currentLevelMeter(twoChannels), kAudioQueueErrInvalidPropertySize);
}

TEST_F(PlatformAudioQueue, ALostSourceReadsAsSilenceAtOnceAndNoBufferJoinsBeforeToAfter) {
    makeQueue(3);
    queue->start();
    ASSERT_EQ(queue->setEnableLevelMetering(1), kAudioNoError);
    push({16384, -16384, 16384, -16384, 7, 7});  // a full buffer, and two samples of the next
    AudioQueueLevelMeterState level[1];
    ASSERT_EQ(queue->currentLevelMeter(level), kAudioNoError);
    ASSERT_FLOAT_EQ(level[0].mAveragePower, 0.5f);

    feeder->lose();
    ASSERT_EQ(queue->currentLevelMeter(level), kAudioNoError);
    EXPECT_EQ(level[0].mAveragePower, 0.0f) << "the last buffer before the failure is not heard on";
    EXPECT_EQ(level[0].mPeakPower, 0.0f);

    // Back: the next buffer holds only what came after the failure.
    push({1, 2, 3, 4});
    ASSERT_EQ(log.handOvers.size(), 2u);
    EXPECT_EQ(log.handOvers[1].samples, (std::vector<int16_t>{1, 2, 3, 4}));
}

TEST(PlatformAudioLevel, IsTheRootMeanSquareAndTheLargestMagnitudeOfFullScale) {
    const std::vector<int16_t> nothing;
    const std::vector<int16_t> steady(100, -8192);
    const std::vector<int16_t> click = {0, 0, 0, -32768};
    EXPECT_EQ(measureLevel(nothing).mAveragePower, 0.0f);
    EXPECT_EQ(measureLevel(nothing).mPeakPower, 0.0f);
    EXPECT_FLOAT_EQ(measureLevel(steady).mAveragePower, 0.25f);
    EXPECT_FLOAT_EQ(measureLevel(steady).mPeakPower, 0.25f);
    EXPECT_FLOAT_EQ(measureLevel(click).mAveragePower, 0.5f);
    EXPECT_FLOAT_EQ(measureLevel(click).mPeakPower, 1.0f);
}

TEST_F(PlatformAudioQueue, RefusesBuffersThatAreNotItsOwnOrAlreadyInLine) {
    const auto buffers = makeQueue(1);
    AudioQueueBuffer* tooSmall = nullptr;
    EXPECT_EQ(queue->allocateBuffer(1, &tooSmall), kAudioQueueErrInvalidParameter);
    EXPECT_EQ(tooSmall, nullptr);
    EXPECT_EQ(queue->allocateBuffer(8, nullptr), kAudioQueueErrInvalidParameter);
    EXPECT_EQ(queue->enqueueBuffer(nullptr), kAudioQueueErrInvalidBuffer);
    EXPECT_EQ(queue->enqueueBuffer(buffers[0]), kAudioQueueErrBufferEnqueuedTwice);

    HandOverLog otherLog;
    std::unique_ptr<AudioQueue> other;
    ASSERT_EQ(AudioQueue::newInput(monoFormat(), &HandOverLog::callback, &otherLog, other), kAudioNoError);
    EXPECT_EQ(other->enqueueBuffer(buffers[0]), kAudioQueueErrInvalidBuffer);
}

TEST_F(PlatformAudioQueue, RefusesEveryCallOnceDisposed) {
    makeQueue(1);
    queue->start();
    queue->dispose();
    AudioQueueBuffer* buffer = nullptr;
    uint32_t running = 0;
    EXPECT_EQ(queue->allocateBuffer(8, &buffer), kAudioQueueErrDisposed);
    EXPECT_EQ(queue->start(), kAudioQueueErrDisposed);
    EXPECT_EQ(queue->isRunning(running), kAudioQueueErrDisposed);
    push(ramp(0, 4));
    EXPECT_TRUE(log.handOvers.empty());
}

TEST(PlatformAudioQueueInput, CapturesOnlySixteenBitMonoLinearPcm) {
    struct Case {
        const char* name;
        void (*change)(AudioStreamBasicDescription&);
    };
    const Case cases[] = {
        {"stereo", [](AudioStreamBasicDescription& f) { f.mChannelsPerFrame = 2; }},
        {"float", [](AudioStreamBasicDescription& f) { f.mFormatFlags |= 1; }},
        {"big-endian", [](AudioStreamBasicDescription& f) { f.mFormatFlags |= 2; }},
        {"8-bit", [](AudioStreamBasicDescription& f) { f.mBitsPerChannel = 8; }},
        {"not PCM", [](AudioStreamBasicDescription& f) { f.mFormatID = fourCharCode("aac "); }},
        {"no rate", [](AudioStreamBasicDescription& f) { f.mSampleRate = 0.0; }},
    };
    HandOverLog log;
    for (const auto& c : cases) {
        auto format = monoFormat();
        c.change(format);
        std::unique_ptr<AudioQueue> queue;
        EXPECT_EQ(AudioQueue::newInput(format, &HandOverLog::callback, &log, queue), kAudioFormatUnsupported) << c.name;
        EXPECT_EQ(queue, nullptr) << c.name;
    }
    std::unique_ptr<AudioQueue> queue;
    EXPECT_EQ(AudioQueue::newInput(monoFormat(), nullptr, nullptr, queue), kAudioQueueErrInvalidParameter);
}

TEST(PlatformAudioQueueInput, WithNothingInstalledAQueueNeverRuns) {
    AudioQueue::setInputFactory(nullptr);
    HandOverLog log;
    std::unique_ptr<AudioQueue> queue;
    ASSERT_EQ(AudioQueue::newInput(monoFormat(), &HandOverLog::callback, &log, queue), kAudioNoError);
    EXPECT_EQ(queue->start(), kAudioQueueErrCannotStart);
    uint32_t running = 1;
    EXPECT_EQ(queue->isRunning(running), kAudioNoError);
    EXPECT_EQ(running, 0u);
}

}  // namespace
