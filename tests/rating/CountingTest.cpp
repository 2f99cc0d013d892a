// Counting uses and significant events per application version.

#include <chrono>
#include <limits>

#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingPrompt;

class CountingTest : public RatingPromptTest {};

TEST_F(CountingTest, FirstLaunchWithTheLaunchSettingsTracksTheVersionAndShowsNothing) {
    configureAsLaunch();
    launch();

    EXPECT_EQ(defaults->stringForKey(rating::kRatingPromptCurrentVersion), "1.0.0");
    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptFirstUseDate), loop->now());
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), 1);
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptSignificantEventCount), 0);
    EXPECT_EQ(screen->presentedViewController(), nullptr);
    EXPECT_TRUE(urls->opened().empty());
}

TEST_F(CountingTest, UsesOfTheSameVersionCountOnAndKeepTheFirstUseDate) {
    const double firstUse = loop->now();
    launch();
    advance(kDay);
    enterForeground();
    advance(kDay);
    launch();

    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), 3);
    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptFirstUseDate), firstUse);
}

TEST_F(CountingTest, SignificantEventsCountOnTheirOwnCounter) {
    launch();
    significantEvent();
    significantEvent();

    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), 1);
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptSignificantEventCount), 2);
}

// The state an earlier version left behind, answers included.
void storeOldVersionState(platform::UserDefaults& store) {
    store.setObject("0.9", rating::kRatingPromptCurrentVersion);
    store.setDouble(1000.0, rating::kRatingPromptFirstUseDate);
    store.setInteger(41, rating::kRatingPromptUseCount);
    store.setInteger(7, rating::kRatingPromptSignificantEventCount);
    store.setBool(true, rating::kRatingPromptRatedCurrentVersion);
    store.setBool(true, rating::kRatingPromptDeclinedToRate);
    store.setDouble(2000.0, rating::kRatingPromptReminderRequestDate);
}

struct VersionChange {
    const char* noticedBy;
    void (*count)(RatingPrompt&);
    int64_t useCount;
    int64_t significantEventCount;
    bool firstUseIsNow;  // else 0.0
};

// Names the case in test listings.
void PrintTo(const VersionChange& c, std::ostream* out) { *out << c.noticedBy; }

class VersionChangeTest : public RatingPromptTest, public ::testing::WithParamInterface<VersionChange> {};

TEST_P(VersionChangeTest, StartsTheNewVersionAfresh) {
    storeOldVersionState(*defaults);
    GetParam().count(ratingPrompt());

    EXPECT_EQ(defaults->stringForKey(rating::kRatingPromptCurrentVersion), "1.0.0");
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), GetParam().useCount);
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptSignificantEventCount), GetParam().significantEventCount);
    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptFirstUseDate), GetParam().firstUseIsNow ? loop->now() : 0.0);
    EXPECT_FALSE(ratingPrompt().userHasRatedCurrentVersion());
    EXPECT_FALSE(ratingPrompt().userHasDeclinedToRate());
    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptReminderRequestDate), 0.0);
}

TEST_P(VersionChangeTest, TheNextUseDatesTheVersionWhenTheChangeLeftItUndated) {
    storeOldVersionState(*defaults);
    GetParam().count(ratingPrompt());
    const double changeDate = loop->now();
    advance(kDay);
    ratingPrompt().incrementUseCount();

    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptFirstUseDate),
              GetParam().firstUseIsNow ? changeDate : loop->now());
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), GetParam().useCount + 1);
}

INSTANTIATE_TEST_SUITE_P(
    NoticedBy, VersionChangeTest,
    ::testing::Values(VersionChange{"AUse", [](RatingPrompt& a) { a.incrementUseCount(); }, 1, 0, true},
                      VersionChange{"ASignificantEvent", [](RatingPrompt& a) { a.incrementSignificantEventCount(); }, 0,
                                    1, false}),
    [](const auto& tested) { return std::string(tested.param.noticedBy); });

TEST_F(CountingTest, UntilAUseNoticesTheNewVersionTheOldAnswersStillHold) {
    storeOldVersionState(*defaults);
    RatingPrompt::tryToShowPrompt();
    EXPECT_EQ(presentedAlert(), nullptr);

    launch(false);
    RatingPrompt::tryToShowPrompt();
    EXPECT_NE(presentedAlert(), nullptr);
}

TEST_F(CountingTest, AnEmptiedStoreIsTakenUpAgainByTheNextUse) {
    launch();
    launch();
    advance(kDay);
    defaults->setPersistentDomain({}, defaults->domainName());
    launch();

    EXPECT_EQ(defaults->stringForKey(rating::kRatingPromptCurrentVersion), "1.0.0");
    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptFirstUseDate), loop->now());
    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), 1);
}

TEST_F(CountingTest, LaunchCountsWithoutPromptingWhenNotAllowedTo) {
    configureAsLaunch();
    launch(false);
    advance(3 * kDay);
    launch(false);

    EXPECT_EQ(defaults->integerForKey(rating::kRatingPromptUseCount), 2);
    EXPECT_EQ(presentedAlert(), nullptr);
}

// A counter at its limits: it counts on up to the largest number and stays there.
struct CounterAtLimit {
    const char* name;
    const char* key;
    void (*count)(RatingPrompt&);
    int64_t stored;
    int64_t expected;
};

class CounterLimitTest : public RatingPromptTest, public ::testing::WithParamInterface<CounterAtLimit> {};

TEST_P(CounterLimitTest, CountsUpToTheLargestNumberAndStaysThere) {
    defaults->setObject("1.0.0", rating::kRatingPromptCurrentVersion);
    defaults->setInteger(GetParam().stored, GetParam().key);
    GetParam().count(ratingPrompt());
    EXPECT_EQ(defaults->integerForKey(GetParam().key), GetParam().expected);
}

constexpr int64_t kLargest = std::numeric_limits<int64_t>::max();
void countUse(RatingPrompt& prompt) { prompt.incrementUseCount(); }
void countEvent(RatingPrompt& prompt) { prompt.incrementSignificantEventCount(); }

INSTANTIATE_TEST_SUITE_P(
    Counters, CounterLimitTest,
    ::testing::Values(CounterAtLimit{"UsesFromZero", rating::kRatingPromptUseCount, countUse, 0, 1},
                      CounterAtLimit{"UsesBelowTheLargest", rating::kRatingPromptUseCount, countUse, kLargest - 1, kLargest},
                      CounterAtLimit{"UsesAtTheLargest", rating::kRatingPromptUseCount, countUse, kLargest, kLargest},
                      CounterAtLimit{"EventsFromZero", rating::kRatingPromptSignificantEventCount, countEvent, 0, 1},
                      CounterAtLimit{"EventsBelowTheLargest", rating::kRatingPromptSignificantEventCount, countEvent,
                                     kLargest - 1, kLargest},
                      CounterAtLimit{"EventsAtTheLargest", rating::kRatingPromptSignificantEventCount, countEvent,
                                     kLargest, kLargest}),
    [](const auto& counterCase) { return std::string(counterCase.param.name); });

TEST_F(CountingTest, UnderAFastClockTheStoredDatesAreWallClockDates) {
    // The program's --fast run: the screen's timing on a virtual clock from 2026-01-01.
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(
        platform::RunLoop::Clock::Virtual, platform::RunLoop::kVirtualEpoch, platform::RunLoop::Dates::WallClock));
    const double wallClock =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    launch();
    EXPECT_NEAR(defaults->doubleForKey(rating::kRatingPromptFirstUseDate), wallClock, 60.0);

    // A reminder asked for an hour ago of real time is not yet due, whatever the virtual clock says.
    defaults->setDouble(wallClock - 3600.0, rating::kRatingPromptReminderRequestDate);
    defaults->setDouble(wallClock - 400 * kDay, rating::kRatingPromptFirstUseDate);
    defaults->setInteger(1000, rating::kRatingPromptUseCount);
    defaults->setInteger(1000, rating::kRatingPromptSignificantEventCount);
    platform::RunLoop::main()->advance(30 * kDay);
    EXPECT_FALSE(ratingPrompt().ratingConditionsHaveBeenMet());
    defaults->setDouble(wallClock - 400 * kDay, rating::kRatingPromptReminderRequestDate);
    EXPECT_TRUE(ratingPrompt().ratingConditionsHaveBeenMet());
}

}  // namespace
}  // namespace rating_test
