// Debug mode: the conditions count as met, the launch shows the prompt at
// once, and the "APPIRATER" lines are logged only then.

#include "platform/NotificationCenter.h"
#include "tests/rating/AppiraterFixture.h"

namespace rating_test {
namespace {

using rating::Appirater;

std::vector<std::string> appiraterLines(const platform::LogCapture& log) {
    std::vector<std::string> lines;
    for (const auto& line : log.lines()) {
        if (line.rfind("APPIRATER", 0) == 0) lines.push_back(line);
    }
    return lines;
}

TEST_F(AppiraterTest, DebugLaunchShowsThePromptWithoutCountingOrChecking) {
    configureAsLaunch();
    Appirater::setDebug(true);
    useNetwork("offline");
    defaults->setBool(true, rating::kAppiraterDeclinedToRate);
    launch();

    ASSERT_NE(presentedAlert(), nullptr);
    EXPECT_EQ(actionTitles(*presentedAlert()).size(), 3u);
    EXPECT_FALSE(defaults->objectForKey(rating::kAppiraterUseCount).has_value());
    EXPECT_TRUE(transport->requestedURLs().empty());
}

TEST_F(AppiraterTest, DebugConditionsAreMetWhateverTheCountsAndDates) {
    Appirater::setDaysUntilPrompt(1000.0);
    Appirater::setUsesUntilPrompt(1000);
    Appirater::setSignificantEventsUntilPrompt(1000);
    defaults->setDouble(loop->now(), rating::kAppiraterFirstUseDate);
    defaults->setDouble(loop->now(), rating::kAppiraterReminderRequestDate);
    ASSERT_FALSE(appirater().ratingConditionsHaveBeenMet());

    Appirater::setDebug(true);
    EXPECT_TRUE(appirater().ratingConditionsHaveBeenMet());
}

TEST_F(AppiraterTest, DebugModeLogsEachStepInItsOwnWords) {
    Appirater::setDebug(true);
    appirater().incrementUseCount();
    appirater().incrementUseCount();
    appirater().incrementSignificantEventCount();
    Appirater::forceShowPrompt(true);
    platform::NotificationCenter::defaultCenter().post(platform::kApplicationWillResignActiveNotification);

    EXPECT_EQ(appiraterLines(*log), (std::vector<std::string>{
                                        "APPIRATER Tracking version: 1.0.0",
                                        "APPIRATER Use count: 1",
                                        "APPIRATER Tracking version: 1.0.0",
                                        "APPIRATER Use count: 2",
                                        "APPIRATER Tracking version: 1.0.0",
                                        "APPIRATER Significant event count: 1",
                                        "APPIRATER appWillResignActive",
                                        "APPIRATER Hiding Alert",
                                    }));
}

TEST_F(AppiraterTest, WithoutDebugModeNothingIsLogged) {
    configureAsLaunch();
    launch();
    advance(2 * kDay);
    launch();
    significantEvent();
    ASSERT_NE(presentedAlert(), nullptr);
    platform::NotificationCenter::defaultCenter().post(platform::kApplicationWillResignActiveNotification);

    EXPECT_TRUE(log->lines().empty());
}

}  // namespace
}  // namespace rating_test
