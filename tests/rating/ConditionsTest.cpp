// The conditions for asking, at their edges, and the launch that acts on them.

#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingPrompt;

// A stored state and the launch's settings (days 2, uses 2, events -1,
// reminding 2) unless the case says otherwise.
struct Condition {
    const char* name;
    double firstUseSecondsAgo;      // negative: never set (0.0)
    int64_t useCount;
    int64_t significantEventCount;
    double reminderSecondsAgo;      // negative: never reminded (0.0)
    int64_t eventsUntilPrompt;
    bool met;
};

// Names the case in test listings.
void PrintTo(const Condition& c, std::ostream* out) { *out << c.name; }

class ConditionsTest : public RatingPromptTest, public ::testing::WithParamInterface<Condition> {};

TEST_P(ConditionsTest, AreMetExactlyAtTheirLimits) {
    const Condition& c = GetParam();
    configureAsLaunch();
    RatingPrompt::setSignificantEventsUntilPrompt(c.eventsUntilPrompt);
    const double now = loop->now();
    defaults->setDouble(c.firstUseSecondsAgo < 0 ? 0.0 : now - c.firstUseSecondsAgo, rating::kRatingPromptFirstUseDate);
    defaults->setInteger(c.useCount, rating::kRatingPromptUseCount);
    defaults->setInteger(c.significantEventCount, rating::kRatingPromptSignificantEventCount);
    defaults->setDouble(c.reminderSecondsAgo < 0 ? 0.0 : now - c.reminderSecondsAgo,
                        rating::kRatingPromptReminderRequestDate);

    EXPECT_EQ(ratingPrompt().ratingConditionsHaveBeenMet(), c.met);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ConditionsTest,
    ::testing::Values(
        Condition{"DaysExactlyAtTheLimit", 2 * kDay, 2, 0, -1, -1, true},
        Condition{"OneSecondShortOfTheDays", 2 * kDay - 1, 2, 0, -1, -1, false},
        Condition{"AnUnsetFirstUseCountsAs1970", -1, 2, 0, -1, -1, true},
        Condition{"OneUseShort", 2 * kDay, 1, 0, -1, -1, false},
        Condition{"MinusOneEventsIsMetWithNone", 2 * kDay, 2, 0, -1, -1, true},
        Condition{"OneEventShort", 2 * kDay, 2, 2, -1, 3, false},
        Condition{"EventsExactlyAtTheLimit", 2 * kDay, 2, 3, -1, 3, true},
        Condition{"ReminderZeroComparesWith1970", 2 * kDay, 2, 0, -1, -1, true},
        Condition{"RemindedOneSecondTooRecently", 2 * kDay, 2, 0, 2 * kDay - 1, -1, false},
        Condition{"RemindedExactlyTwoDaysAgo", 2 * kDay, 2, 0, 2 * kDay, -1, true}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(RatingPromptTest, ALaunchTwoFullDaysAfterTheFirstUseShowsThePrompt) {
    configureAsLaunch();
    launch();
    advance(2 * kDay - 1);
    launch();
    ASSERT_EQ(presentedAlert(), nullptr) << "one second short of two days";

    advance(2 * kDay);
    launch();
    ASSERT_NE(presentedAlert(), nullptr);
    EXPECT_EQ(actionTitles(*presentedAlert()),
              (std::vector<std::string>{"Rate Pallqa Tuner", "Remind me later", "No, Thanks"}));
}

TEST_F(RatingPromptTest, ASignificantEventThatMeetsTheConditionsShowsThePrompt) {
    configureAsLaunch();
    RatingPrompt::setSignificantEventsUntilPrompt(1);
    launch();
    advance(2 * kDay);
    enterForeground();
    ASSERT_EQ(presentedAlert(), nullptr) << "no significant event yet";

    significantEvent();
    EXPECT_NE(presentedAlert(), nullptr);
}

TEST_F(RatingPromptTest, ADueLaunchShowsNothingWhileOffline) {
    configureAsLaunch();
    launch();
    advance(2 * kDay);
    useNetwork("offline");
    launch();

    EXPECT_EQ(presentedAlert(), nullptr);
}

TEST_F(RatingPromptTest, UnreadableReachabilityIsLoggedAndShowsNothing) {
    useNetwork("missing");
    RatingPrompt::tryToShowPrompt();

    EXPECT_EQ(presentedAlert(), nullptr);
    EXPECT_TRUE(log->contains("Error. Could not recover network reachability flags"));
}

}  // namespace
}  // namespace rating_test
