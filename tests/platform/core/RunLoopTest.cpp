#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "platform/core/RunLoop.h"
#include "platform/core/WorkQueue.h"

namespace {

using platform::RunLoop;

class VirtualLoop : public ::testing::Test {
protected:
    RunLoop loop{RunLoop::Clock::Virtual};
    std::vector<std::string> ran;
    std::function<void()> record(std::string what) {
        return [this, what] { ran.push_back(what + "@" + std::to_string(std::lround(loop.elapsed() * 1000))); };
    }
};

TEST_F(VirtualLoop, NothingRunsUntilTimeIsAdvanced) {
    loop.performAfterDelay(0.0, record("now"));
    loop.dispatchAsync(record("posted"));
    EXPECT_TRUE(ran.empty());
    loop.advance(0.0);
    EXPECT_EQ(ran, (std::vector<std::string>{"now@0", "posted@0"}));
}

TEST_F(VirtualLoop, ItemsRunInOrderOfDueTimeThenOfScheduling) {
    loop.performAfterDelay(5.0, record("reset-a"));
    loop.performAfterDelay(2.0, record("prompt"));
    loop.performAfterDelay(5.0, record("reset-b"));
    loop.performAfterDelay(4.0, record("reset-c"));
    loop.advance(10.0);
    EXPECT_EQ(ran, (std::vector<std::string>{"prompt@2000", "reset-c@4000", "reset-a@5000", "reset-b@5000"}));
    EXPECT_DOUBLE_EQ(loop.elapsed(), 10.0);
}

TEST_F(VirtualLoop, ARepeatingTimerFiresOncePerIntervalInterleavedWithDelayedCalls) {
    int ticks = 0;
    auto timer = loop.scheduleRepeating(0.01, [&] { ++ticks; });
    loop.performAfterDelay(0.025, record("delayed"));
    loop.advance(0.025);
    EXPECT_EQ(ticks, 2);
    loop.advance(0.975);
    EXPECT_EQ(ticks, 100);
    timer->invalidate();
    loop.advance(1.0);
    EXPECT_EQ(ticks, 100);
    EXPECT_EQ(ran, std::vector<std::string>{"delayed@25"});
}

// A frontend that waits in its own event loop is woken for what is scheduled,
// not for a running timer's next firing, which it finds when it looks again.
TEST_F(VirtualLoop, ARepeatingTimerWakesTheFrontendOnlyWhenItIsScheduled) {
    int wakeUps = 0;
    loop.setWakeUpHandler([&] { ++wakeUps; });
    int ticks = 0;
    loop.scheduleRepeating(0.01, [&] { ++ticks; });
    loop.performAfterDelay(0.5, [] {});
    loop.advance(1.0);
    EXPECT_EQ(ticks, 100);
    EXPECT_EQ(wakeUps, 2);
}

TEST_F(VirtualLoop, WorkScheduledWhileRunningRunsInTheSameAdvanceWhenDue) {
    loop.performAfterDelay(1.0, [&] {
        record("first")();
        loop.performAfterDelay(1.0, record("second"));
        loop.performAfterDelay(5.0, record("too-late"));
    });
    loop.advance(3.0);
    EXPECT_EQ(ran, (std::vector<std::string>{"first@1000", "second@2000"}));
}

TEST_F(VirtualLoop, DatesStartAtAFixedEpochAndMoveOnlyWithTheLoop) {
    EXPECT_EQ(loop.now(), RunLoop::kVirtualEpoch);
    loop.advance(86400.0 * 2);
    EXPECT_EQ(loop.now(), RunLoop::kVirtualEpoch + 172800.0);
}

TEST(RealLoop, RunsWorkPostedFromAnotherThreadAndStops) {
    RunLoop loop(RunLoop::Clock::Real);
    std::atomic<bool> ranOnLoopThread = false;
    const auto loopThread = std::this_thread::get_id();
    std::thread poster([&] {
        loop.dispatchAsync([&] {
            ranOnLoopThread = std::this_thread::get_id() == loopThread;
            loop.stop();
        });
    });
    loop.run(30.0);  // returns as soon as the posted work stops it
    poster.join();
    EXPECT_TRUE(ranOnLoopThread);
}

TEST(WorkQueueTest, RunsWorkInOrderOfArrivalOffTheCallingThread) {
    platform::WorkQueue queue("test-serial");
    std::vector<int> order;
    std::atomic<bool> offThread = true;
    const auto caller = std::this_thread::get_id();
    for (int i = 0; i < 100; ++i) {
        queue.async([&, i] {
            if (std::this_thread::get_id() == caller) offThread = false;
            order.push_back(i);
        });
    }
    queue.waitUntilIdle();
    ASSERT_EQ(order.size(), 100u);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    EXPECT_TRUE(offThread);
}

}  // namespace
