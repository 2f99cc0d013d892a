// Debug mode: the conditions count as met, the launch shows the prompt at
// once, and the "RATING PROMPT" lines are logged only then.

#include "platform/core/NotificationCenter.h"
#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingPrompt;

std::vector<std::string> ratingPromptLines(const platform::LogCapture& log) {
    std::vector<std::string> lines;
    for (const auto& line : log.lines()) {
        if (line.rfind("RATING PROMPT", 0) == 0) lines.push_back(line);
    }
    return lines;
}

TEST_F(RatingPromptTest, DebugLaunchShowsThePromptWithoutCountingOrChecking) {
    configureAsLaunch();
    RatingPrompt::setDebug(true);
    useNetwork("offline");
    defaults->setBool(true, rating::kRatingPromptDeclinedToRate);
    launch();

    ASSERT_NE(presentedAlert(), nullptr);
    EXPECT_EQ(actionTitles(*presentedAlert()).size(), 3u);
    EXPECT_FALSE(defaults->objectForKey(rating::kRatingPromptUseCount).has_value());
    EXPECT_TRUE(transport->requestedURLs().empty());
}

TEST_F(RatingPromptTest, DebugConditionsAreMetWhateverTheCountsAndDates) {
    RatingPrompt::setDaysUntilPrompt(1000.0);
    RatingPrompt::setUsesUntilPrompt(1000);
    RatingPrompt::setSignificantEventsUntilPrompt(1000);
    defaults->setDouble(loop->now(), rating::kRatingPromptFirstUseDate);
    defaults->setDouble(loop->now(), rating::kRatingPromptReminderRequestDate);
    ASSERT_FALSE(ratingPrompt().ratingConditionsHaveBeenMet());

    RatingPrompt::setDebug(true);
    EXPECT_TRUE(ratingPrompt().ratingConditionsHaveBeenMet());
}

TEST_F(RatingPromptTest, DebugModeLogsEachStepInItsOwnWords) {
    RatingPrompt::setDebug(true);
    ratingPrompt().incrementUseCount();
    ratingPrompt().incrementUseCount();
    ratingPrompt().incrementSignificantEventCount();
    RatingPrompt::forceShowPrompt(true);
    platform::NotificationCenter::defaultCenter().post(platform::kApplicationWillResignActiveNotification);

    EXPECT_EQ(ratingPromptLines(*log), (std::vector<std::string>{
                                        "RATING PROMPT Tracking version: 1.0.0",
                                        "RATING PROMPT Use count: 1",
                                        "RATING PROMPT Tracking version: 1.0.0",
                                        "RATING PROMPT Use count: 2",
                                        "RATING PROMPT Tracking version: 1.0.0",
                                        "RATING PROMPT Significant event count: 1",
                                        "RATING PROMPT appWillResignActive",
                                        "RATING PROMPT Hiding Alert",
                                    }));
}

TEST_F(RatingPromptTest, WithoutDebugModeNothingIsLogged) {
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
