// The trace's points: kept oldest first up to its capacity, the latest value
// the gauge's, and a change told for each point added while the span shows a
// value, but not for gaps once it shows nothing else.

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/Trace.h"
#include "tests/support/ViewWatcher.h"

namespace {

TEST(Trace, KeepsTheLatestPointsOldestFirstAndTheLatestValueAsTheGauges) {
    platform::Trace trace;
    const size_t added = platform::Trace::kCapacity + 3;
    for (size_t i = 0; i < added; ++i) {
        trace.add(0.1 * static_cast<double>(i), i % 2 == 0 ? std::optional(static_cast<float>(i)) : std::nullopt, "");
    }
    ASSERT_EQ(trace.size(), platform::Trace::kCapacity);
    EXPECT_DOUBLE_EQ(trace.point(0).time, 0.3);
    EXPECT_FALSE(trace.point(0).value);
    EXPECT_EQ(trace.point(1).value, 4.0f);
    EXPECT_EQ(trace.point(trace.size() - 1).value, static_cast<float>(added - 1));
    EXPECT_EQ(trace.value(), static_cast<float>(added - 1));
}

TEST(Trace, TellsEveryPointAddedWhileTheSpanShowsAValueAndNoGapsAfterwards) {
    platform::Trace trace;
    trace.setSpan(1.0);
    int changes = 0;
    const testing_support::ViewWatcher watcher(trace, [&changes](platform::Change change) {
        if (change == platform::Change::Value) ++changes;
    });
    trace.add(0.0, std::nullopt, "");  // nothing to show yet
    EXPECT_EQ(changes, 0);
    trace.add(0.1, 3.0f, "+3.0 cents");
    trace.add(0.2, 3.0f, "+3.0 cents");  // the same value: the line still grew
    EXPECT_EQ(changes, 2);
    trace.add(0.3, std::nullopt, "");
    trace.add(1.1, std::nullopt, "");  // the value scrolls along
    EXPECT_EQ(changes, 4);
    trace.add(1.3, std::nullopt, "");  // gone past the span's start: gaps alone
    EXPECT_EQ(changes, 4);
    trace.clearPoints();
    EXPECT_EQ(trace.size(), 0u);
}

}  // namespace
