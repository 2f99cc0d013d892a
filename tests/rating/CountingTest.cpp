// Counting uses and significant events per application version.

#include "tests/rating/AppiraterFixture.h"

namespace rating_test {
namespace {

using rating::Appirater;

class CountingTest : public AppiraterTest {};

TEST_F(CountingTest, FirstLaunchWithTheLaunchSettingsTracksTheVersionAndShowsNothing) {
    configureAsLaunch();
    launch();

    EXPECT_EQ(defaults->stringForKey(rating::kAppiraterCurrentVersion), "1.0.0");
    EXPECT_EQ(defaults->doubleForKey(rating::kAppiraterFirstUseDate), loop->now());
    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterUseCount), 1);
    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterSignificantEventCount), 0);
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

    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterUseCount), 3);
    EXPECT_EQ(defaults->doubleForKey(rating::kAppiraterFirstUseDate), firstUse);
}

TEST_F(CountingTest, SignificantEventsCountOnTheirOwnCounter) {
    launch();
    significantEvent();
    significantEvent();

    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterUseCount), 1);
    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterSignificantEventCount), 2);
}

// The state an earlier version left behind, answers included.
void storeOldVersionState(platform::UserDefaults& store) {
    store.setObject("0.9", rating::kAppiraterCurrentVersion);
    store.setDouble(1000.0, rating::kAppiraterFirstUseDate);
    store.setInteger(41, rating::kAppiraterUseCount);
    store.setInteger(7, rating::kAppiraterSignificantEventCount);
    store.setBool(true, rating::kAppiraterRatedCurrentVersion);
    store.setBool(true, rating::kAppiraterDeclinedToRate);
    store.setDouble(2000.0, rating::kAppiraterReminderRequestDate);
}

struct VersionChange {
    const char* noticedBy;
    void (*count)(Appirater&);
    int64_t useCount;
    int64_t significantEventCount;
    bool firstUseIsNow;  // else 0.0
};

// Names the case in test listings.
void PrintTo(const VersionChange& c, std::ostream* out) { *out << c.noticedBy; }

class VersionChangeTest : public AppiraterTest, public ::testing::WithParamInterface<VersionChange> {};

TEST_P(VersionChangeTest, StartsTheNewVersionAfresh) {
    storeOldVersionState(*defaults);
    GetParam().count(appirater());

    EXPECT_EQ(defaults->stringForKey(rating::kAppiraterCurrentVersion), "1.0.0");
    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterUseCount), GetParam().useCount);
    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterSignificantEventCount), GetParam().significantEventCount);
    EXPECT_EQ(defaults->doubleForKey(rating::kAppiraterFirstUseDate), GetParam().firstUseIsNow ? loop->now() : 0.0);
    EXPECT_FALSE(appirater().userHasRatedCurrentVersion());
    EXPECT_FALSE(appirater().userHasDeclinedToRate());
    EXPECT_EQ(defaults->doubleForKey(rating::kAppiraterReminderRequestDate), 0.0);
}

TEST_P(VersionChangeTest, TheNextUseDatesTheVersionWhenTheChangeLeftItUndated) {
    storeOldVersionState(*defaults);
    GetParam().count(appirater());
    const double changeDate = loop->now();
    advance(kDay);
    appirater().incrementUseCount();

    EXPECT_EQ(defaults->doubleForKey(rating::kAppiraterFirstUseDate),
              GetParam().firstUseIsNow ? changeDate : loop->now());
    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterUseCount), GetParam().useCount + 1);
}

INSTANTIATE_TEST_SUITE_P(
    NoticedBy, VersionChangeTest,
    ::testing::Values(VersionChange{"AUse", [](Appirater& a) { a.incrementUseCount(); }, 1, 0, true},
                      VersionChange{"ASignificantEvent", [](Appirater& a) { a.incrementSignificantEventCount(); }, 0,
                                    1, false}),
    [](const auto& info) { return std::string(info.param.noticedBy); });

TEST_F(CountingTest, UntilAUseNoticesTheNewVersionTheOldAnswersStillHold) {
    storeOldVersionState(*defaults);
    Appirater::tryToShowPrompt();
    EXPECT_EQ(presentedAlert(), nullptr);

    launch(false);
    Appirater::tryToShowPrompt();
    EXPECT_NE(presentedAlert(), nullptr);
}

TEST_F(CountingTest, AnEmptiedStoreIsTakenUpAgainByTheNextUse) {
    launch();
    launch();
    advance(kDay);
    defaults->setPersistentDomain({}, defaults->domainName());
    launch();

    EXPECT_EQ(defaults->stringForKey(rating::kAppiraterCurrentVersion), "1.0.0");
    EXPECT_EQ(defaults->doubleForKey(rating::kAppiraterFirstUseDate), loop->now());
    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterUseCount), 1);
}

TEST_F(CountingTest, LaunchCountsWithoutPromptingWhenNotAllowedTo) {
    configureAsLaunch();
    launch(false);
    advance(3 * kDay);
    launch(false);

    EXPECT_EQ(defaults->integerForKey(rating::kAppiraterUseCount), 2);
    EXPECT_EQ(presentedAlert(), nullptr);
}

}  // namespace
}  // namespace rating_test
