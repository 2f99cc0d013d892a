// The rating state on its own: what it writes reaches the settings store's
// file at once, and it judges by the settings it was given.

#include "rating/RatingState.h"
#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingState;

struct Persisted {
    const char* name;
    void (*change)(RatingState&);
    const char* key;
    platform::UserDefaults::Value expected;  // read back after a restart
};

// Names the case in test listings.
void PrintTo(const Persisted& c, std::ostream* out) { *out << c.name; }

class PersistenceTest : public RatingPromptTest, public ::testing::WithParamInterface<Persisted> {};

TEST_P(PersistenceTest, EveryCountAndAnswerSurvivesARestartAtOnce) {
    const auto file = testing_support::temporaryFolder() / "settings.json";
    const std::string domain = defaults->domainName();
    platform::UserDefaults::setStandardUserDefaults(platform::UserDefaults::atFile(file, domain));
    rating::PromptSettings settings;
    RatingState state(settings);

    GetParam().change(state);

    // A second store on the same file stands for the next start of the program.
    const auto restarted = platform::UserDefaults::atFile(file, domain);
    EXPECT_EQ(restarted->objectForKey(GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, PersistenceTest,
    ::testing::Values(
        Persisted{"Use", [](RatingState& s) { s.incrementUseCount(); }, rating::kRatingPromptUseCount, int64_t{1}},
        Persisted{"SignificantEvent", [](RatingState& s) { s.incrementSignificantEventCount(); },
                  rating::kRatingPromptSignificantEventCount, int64_t{1}},
        Persisted{"Declined", [](RatingState& s) { s.recordDeclinedToRate(); }, rating::kRatingPromptDeclinedToRate,
                  true},
        Persisted{"Rated", [](RatingState& s) { s.recordRatedCurrentVersion(); },
                  rating::kRatingPromptRatedCurrentVersion, true},
        Persisted{"RemindLater", [](RatingState& s) { s.recordReminderRequest(); },
                  rating::kRatingPromptReminderRequestDate, platform::RunLoop::kVirtualEpoch}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(RatingPromptTest, TheStateJudgesByTheSettingsItWasGiven) {
    rating::PromptSettings settings;
    settings.daysUntilPrompt = 0.0;
    settings.usesUntilPrompt = 1;
    RatingState state(settings);
    state.incrementUseCount();
    ASSERT_FALSE(ratingPrompt().ratingConditionsHaveBeenMet()) << "the process's settings want 30 days and 20 uses";

    EXPECT_TRUE(state.ratingConditionsHaveBeenMet());
    settings.usesUntilPrompt = 2;
    EXPECT_FALSE(state.ratingConditionsHaveBeenMet());
}

}  // namespace
}  // namespace rating_test
