#pragma once
// A plain platform with a fresh audio session and test-fed input queues, and
// private detectors: the process's shared one is left alone, since it lives
// until the process ends.

#include <memory>

#include "pitch/PitchListener.h"
#include "platform/audio/AudioQueueFeeder.h"
#include "platform/audio/AudioSession.h"
#include "tests/support/PlainPlatform.h"

namespace pitch_testing {

class PrivateListener final : public pitch::PitchListener {
public:
    PrivateListener() = default;
    ~PrivateListener() = default;
};

class CaptureTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        platform::AudioSession::setSharedInstance(session);
        feeder = platform::AudioQueueFeeder::install();
    }

    // A private detector, initialised as the shared one would be.
    static std::unique_ptr<PrivateListener> makeListener() {
        auto listener = std::make_unique<PrivateListener>();
        listener->init();
        return listener;
    }

    std::shared_ptr<platform::AudioSession> session = std::make_shared<platform::AudioSession>();
    std::shared_ptr<platform::AudioQueueFeeder> feeder;
};

}  // namespace pitch_testing
