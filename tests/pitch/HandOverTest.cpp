// The capture hand-over under concurrency: a capture thread keeps pushing
// sound while the main thread keeps asking for the estimate. Every answer must
// come from one whole buffer. Run under ThreadSanitizer in CI.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "tests/pitch/CaptureFixture.h"
#include "tests/pitch/PluckedString.h"

namespace {

using PitchHandOver = pitch_testing::CaptureTest;

TEST_F(PitchHandOver, EveryEstimateComesFromOneWholeBuffer) {
    auto listener = makeListener();
    listener->listen();
    const auto a4 = pitch_testing::pluckedString({.frequency = pitch_testing::kA4}, 4096);
    const auto e5 = pitch_testing::pluckedString({.frequency = pitch_testing::kE5}, 4096);
    // A buffer torn between the two sounds, or cut short, would in general
    // give neither answer.
    const std::set<float> wholeBufferAnswers = {0.0f, 440.00406f, 659.3634f};
    constexpr int kBuffers = 60;

    std::atomic<bool> done{false};
    std::atomic<int> asked{0};
    std::thread capture([&] {
        for (int i = 0; i < kBuffers; ++i) {
            // Paced by the asking, so that the two threads overlap throughout.
            while (asked.load() < i) std::this_thread::yield();
            feeder->push(i % 2 ? e5 : a4);
        }
        feeder->waitUntilDelivered();
        done = true;
    });
    while (!done) {
        const float answer = listener->frequency();
        EXPECT_TRUE(wholeBufferAnswers.count(answer)) << answer;
        listener->averagePower();
        ++asked;
    }
    capture.join();
    EXPECT_EQ(listener->frequency(), 659.3634f);  // the last buffer pushed
}

}  // namespace
