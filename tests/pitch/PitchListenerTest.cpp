// The detector's life: the one shared instance, the audio session it asks
// for, the capture queue it sets up, starts and stops, and its level meter.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/pitch/CaptureFixture.h"
#include "tests/pitch/PluckedString.h"

namespace {

using pitch::PitchListener;
using pitch_testing::CaptureTest;
using platform::AudioSession;

constexpr uint32_t kBufferSamples = 4096;

TEST(PitchSharedListener, ThereIsOnlyEverOneDetector) {
    PitchListener* shared = PitchListener::sharedListener();
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(PitchListener::sharedListener(), shared);
    EXPECT_EQ(PitchListener::allocWithZone(), nullptr);
    EXPECT_EQ(shared->copyWithZone(), shared);
}

using PitchSession = CaptureTest;

TEST_F(PitchSession, AsksToPlayAndRecordThroughTheSpeaker) {
    auto listener = makeListener();
    EXPECT_EQ(session->category(), platform::kAudioSessionCategoryPlayAndRecord);
    EXPECT_EQ(session->categoryOptions(), platform::kAudioSessionCategoryOptionDefaultToSpeaker);
    EXPECT_TRUE(session->isActive());
    EXPECT_TRUE(log->lines().empty());
}

struct SessionFailure {
    AudioSession::Call call;
    const char* description;
    const char* logged;
    std::string_view categoryAfter;
    bool activeAfter;
};

TEST_F(PitchSession, LogsAFailingSessionAndGoesOn) {
    const SessionFailure cases[] = {
        {AudioSession::Call::SetCategory, "category refused", "init Error setting category: category refused",
         platform::kAudioSessionCategorySoloAmbient, false},
        {AudioSession::Call::SetActive, "session busy", "session busy", platform::kAudioSessionCategoryPlayAndRecord,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        session = std::make_shared<AudioSession>();
        AudioSession::setSharedInstance(session);
        session->setFailure(c.call, c.description);
        log->clear();
        auto listener = std::make_unique<pitch_testing::PrivateListener>();
        EXPECT_EQ(listener->init(), listener.get());
        EXPECT_EQ(log->lines(), std::vector<std::string>{c.logged});
        EXPECT_EQ(session->category(), c.categoryAfter);
        EXPECT_EQ(session->isActive(), c.activeAfter);
    }
}

TEST_F(PitchSession, LogsTheMissingSession) {
    AudioSession::setSharedInstance(nullptr);
    auto listener = std::make_unique<pitch_testing::PrivateListener>();
    EXPECT_EQ(listener->init(), listener.get());
    EXPECT_TRUE(log->contains("init Error setting category: there is no audio session"));
}

TEST_F(PitchSession, TheEndOfADetectorStopsCaptureAndDeactivatesTheSession) {
    auto listener = makeListener();
    listener->listen();
    listener.reset();
    EXPECT_FALSE(session->isActive());

    listener = makeListener();
    session->setFailure(AudioSession::Call::SetActive, "cannot deactivate");
    listener.reset();
    EXPECT_TRUE(log->contains("cannot deactivate"));
}

using PitchCapture = CaptureTest;

TEST_F(PitchCapture, CapturesInTheTabledFormat) {
    auto listener = makeListener();
    listener->listen();
    const auto& format = listener->format();
    EXPECT_EQ(format.mSampleRate, 14039.0);
    EXPECT_EQ(format.mFormatID, platform::fourCharCode("lpcm"));
    EXPECT_EQ(format.mFormatFlags, 12u);
    EXPECT_EQ(format.mBytesPerPacket, 2u);
    EXPECT_EQ(format.mFramesPerPacket, 1u);
    EXPECT_EQ(format.mBytesPerFrame, 2u);
    EXPECT_EQ(format.mChannelsPerFrame, 1u);
    EXPECT_EQ(format.mBitsPerChannel, 16u);
    EXPECT_EQ(format.mReserved, 0u);
}

TEST_F(PitchCapture, LogsTheMeteringSwitchsStatusEvenOnSuccess) {
    auto listener = makeListener();
    listener->listen();
    EXPECT_EQ(log->lines(), std::vector<std::string>{"AudioQueueSetProperty error: 0"});
}

TEST_F(PitchCapture, SetsTheQueueUpOnceAndStartsItAgainOnEachListen) {
    auto listener = makeListener();
    EXPECT_FALSE(listener->isListening());
    listener->listen();
    listener->listen();
    EXPECT_TRUE(listener->isListening());
    EXPECT_EQ(feeder->queuesMade(), 1);

    listener->pause();
    EXPECT_FALSE(listener->isListening());
    listener->listen();
    EXPECT_TRUE(listener->isListening());
    EXPECT_EQ(feeder->queuesMade(), 1);

    listener->stop();
    EXPECT_FALSE(listener->isListening());
    listener->listen();
    EXPECT_EQ(feeder->queuesMade(), 2);
}

TEST_F(PitchCapture, ReadsNoLevelWhenNotListening) {
    auto listener = makeListener();
    EXPECT_EQ(listener->averagePower(), 0.0f);
    EXPECT_EQ(listener->peakPower(), 0.0f);
    EXPECT_EQ(listener->levels(), nullptr);

    listener->listen();
    const std::vector<int16_t> loud(kBufferSamples, 16384);
    feeder->push(loud);
    feeder->waitUntilDelivered();
    ASSERT_GT(listener->averagePower(), 0.0f);

    for (const auto silence : {&PitchListener::pause, &PitchListener::stop}) {
        (listener.get()->*silence)();
        EXPECT_EQ(listener->averagePower(), 0.0f);
        EXPECT_EQ(listener->peakPower(), 0.0f);
        EXPECT_EQ(listener->levels(), nullptr);
        listener->listen();
    }
}

struct LevelCase {
    const char* name;
    std::vector<int16_t> buffer;
    float average;
    float peak;
};

std::vector<int16_t> alternating(int16_t value) {
    std::vector<int16_t> samples(kBufferSamples);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i % 2 ? -value : value);
    return samples;
}

std::vector<int16_t> oneClick(int16_t value) {
    std::vector<int16_t> samples(kBufferSamples, 0);
    samples[100] = value;
    return samples;
}

TEST_F(PitchCapture, MetersTheLatestBuffer) {
    const LevelCase cases[] = {
        {"a steady half", std::vector<int16_t>(kBufferSamples, 16384), 0.5f, 0.5f},
        {"a quarter, alternating", alternating(8192), 0.25f, 0.25f},
        {"one full-scale click", oneClick(-32768), 1.0f / 64.0f, 1.0f},
        {"silence", std::vector<int16_t>(kBufferSamples, 0), 0.0f, 0.0f},
    };
    auto listener = makeListener();
    listener->listen();
    for (const auto& c : cases) {
        feeder->push(c.buffer);
        feeder->waitUntilDelivered();
        EXPECT_FLOAT_EQ(listener->averagePower(), c.average) << c.name;
        EXPECT_FLOAT_EQ(listener->peakPower(), c.peak) << c.name;
        EXPECT_FLOAT_EQ(listener->levels()[0].mAveragePower, c.average) << c.name;
    }
}

TEST_F(PitchCapture, EstimatesEachCapturedBufferAndKeepsTheBuffersFlowing) {
    auto listener = makeListener();
    listener->listen();
    // Five buffers through a queue of three: the callback must put each back.
    const double pitches[] = {pitch_testing::kA4, pitch_testing::kE5, pitch_testing::kE4, pitch_testing::kC5,
                              pitch_testing::kG4};
    const int expectedBins[] = {1027, 1539, 769, 1221, 915};
    for (size_t i = 0; i < std::size(pitches); ++i) {
        feeder->push(pitch_testing::pluckedString(pitch_testing::Pluck{.frequency = pitches[i]}, kBufferSamples));
        feeder->waitUntilDelivered();
        EXPECT_EQ(listener->frequency(), listener->frequencyOfBin(expectedBins[i])) << pitches[i];
    }
}

struct DirectDelivery {
    bool listening;
    bool stored;
    bool putBack;
};

TEST_F(PitchCapture, ABufferArrivingWhileNotListeningIsNeitherStoredNorPutBack) {
    for (const auto& c : {DirectDelivery{true, true, true}, DirectDelivery{false, false, false}}) {
        SCOPED_TRACE(c.listening ? "listening" : "paused");
        auto listener = makeListener();
        listener->listen();
        if (!c.listening) listener->pause();

        std::unique_ptr<platform::AudioQueue> queue;
        ASSERT_EQ(platform::AudioQueue::newInput(listener->format(), pitch::audioQueueInputCallback, listener.get(),
                                                 queue),
                  platform::kAudioNoError);
        platform::AudioQueueBuffer* buffer = nullptr;
        ASSERT_EQ(queue->allocateBuffer(2 * kBufferSamples, &buffer), platform::kAudioNoError);
        const auto sound = pitch_testing::pluckedString({}, kBufferSamples);
        std::memcpy(buffer->mAudioData, sound.data(), 2 * kBufferSamples);
        buffer->mAudioDataByteSize = 2 * kBufferSamples;
        const platform::AudioTimeStamp start{};

        pitch::audioQueueInputCallback(listener.get(), queue.get(), buffer, &start, kBufferSamples);
        EXPECT_EQ(listener->frequency() != 0.0f, c.stored);
        EXPECT_EQ(queue->enqueueBuffer(buffer),
                  c.putBack ? platform::kAudioQueueErrBufferEnqueuedTwice : platform::kAudioNoError);
    }
}

}  // namespace
