// Work over a stream of items on several threads: every result used once, in
// the items' order, on the calling thread, each worker's state its own, and
// no more items in flight than the window allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/OrderedParallelMap.h"

namespace {

struct Squared {
    int item;
    long value;
};

TEST(PlatformOrderedParallelMap, UsesEveryResultInTheItemsOrderOnTheCallingThread) {
    for (const unsigned jobs : {1u, 2u, 3u, 8u}) {
        SCOPED_TRACE(jobs);
        constexpr int kItems = 500;
        int nextItem = 0;
        std::atomic<int> inFlight = 0;
        std::atomic<int> mostInFlight = 0;
        std::vector<std::atomic<int>> busyWorkers(jobs);
        std::vector<Squared> used;
        const auto caller = std::this_thread::get_id();
        platform::orderedParallelMap<int, Squared>(
            jobs,
            [&](int& item) {
                if (nextItem == kItems) return false;
                item = nextItem++;
                mostInFlight = std::max(mostInFlight.load(), ++inFlight);
                return true;
            },
            [&](unsigned worker, const int& item) {
                // A worker's state is never shared with another thread.
                EXPECT_LT(worker, jobs);
                EXPECT_EQ(busyWorkers[worker]++, 0);
                // Uneven work, so that results are ready out of order.
                std::this_thread::sleep_for(std::chrono::microseconds((item * 7919) % 200));
                busyWorkers[worker]--;
                return Squared{item, static_cast<long>(item) * item};
            },
            [&](const Squared& result) {
                EXPECT_EQ(std::this_thread::get_id(), caller);
                --inFlight;
                used.push_back(result);
            });
        ASSERT_EQ(used.size(), static_cast<size_t>(kItems));
        for (int i = 0; i < kItems; ++i) {
            EXPECT_EQ(used[static_cast<size_t>(i)].item, i);
            EXPECT_EQ(used[static_cast<size_t>(i)].value, static_cast<long>(i) * i);
        }
        EXPECT_LE(mostInFlight.load(), static_cast<int>(4 * jobs));
    }
}

TEST(PlatformOrderedParallelMap, EndsWithNoItemsAtAll) {
    int worked = 0;
    platform::orderedParallelMap<int, int>(
        2, [](int&) { return false; }, [&](unsigned, const int& item) { return ++worked + item; }, [](const int&) {});
    EXPECT_EQ(worked, 0);
}

// The threads this process has now.
size_t threadsNow() {
    return static_cast<size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/task"), std::filesystem::directory_iterator()));
}

TEST(PlatformOrderedParallelMap, StartsNoMoreThreadsThanItemsNorThanTheMost) {
    struct Case {
        unsigned jobs;
        int items;
        size_t mostThreads;
    };
    const Case cases[] = {
        {1024, 3, 3},
        {1024, 1000, platform::kMostParallelJobs},
        {8, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.jobs) + " jobs, " + std::to_string(c.items) + " items");
        const size_t before = threadsNow();
        size_t mostThreads = 0;
        unsigned mostWorker = 0;
        int nextItem = 0;
        // Each result is the worker that made it.
        platform::orderedParallelMap<int, unsigned>(
            c.jobs, [&](int& item) { return nextItem < c.items && (item = nextItem++, true); },
            [](unsigned worker, const int&) { return worker; },
            [&](const unsigned& worker) {
                mostWorker = std::max(mostWorker, worker);
                mostThreads = std::max(mostThreads, threadsNow() - before);
            });
        EXPECT_LE(mostThreads, c.mostThreads);
        EXPECT_LT(mostWorker, c.mostThreads);
    }
}

}  // namespace
