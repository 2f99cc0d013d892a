// Showing the prompt, its buttons, and what makes it stay away.

#include "platform/core/NotificationCenter.h"
#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingPrompt;
using Titles = std::vector<std::string>;

const Titles kThreeButtons{"Rate Pallqa Tuner", "Remind me later", "No, Thanks"};
const Titles kLegacyThreeButtons{"No, Thanks", "Rate Pallqa Tuner", "Remind me later"};

struct ButtonCase {
    const char* name;
    const char* title;
    bool declined;
    bool rated;
    bool reminded;
    const char* delegateCall;
    bool laterPromptsShow;
};

// Names the case in test listings.
void PrintTo(const ButtonCase& c, std::ostream* out) { *out << c.name; }

class ButtonTest : public RatingPromptTest, public ::testing::WithParamInterface<std::tuple<ButtonCase, bool>> {};

TEST_P(ButtonTest, HasItsEffectAndDecidesOnLaterPrompts) {
    const auto& [button, legacy] = GetParam();
    offer(false, !legacy, false);
    configureAsLaunch();
    RecordingDelegate recorder;
    RatingPrompt::setDelegate(recorder.delegate);
    launch();
    launch();
    ASSERT_TRUE(shownAlertTitles().empty()) << "not due yet";
    RatingPrompt::tryToShowPrompt();
    ASSERT_EQ(shownAlertTitles(), legacy ? kLegacyThreeButtons : kThreeButtons);

    tap(button.title);

    EXPECT_TRUE(shownAlertTitles().empty());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ratingPrompt().ratingAlert()));
    EXPECT_EQ(ratingPrompt().userHasDeclinedToRate(), button.declined);
    EXPECT_EQ(ratingPrompt().userHasRatedCurrentVersion(), button.rated);
    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptReminderRequestDate), button.reminded ? loop->now() : 0.0);
    EXPECT_EQ(urls->opened().size(), button.rated ? 1u : 0u);
    EXPECT_EQ(recorder.calls, (Titles{"shouldDisplayAlert", "didDisplayAlert", button.delegateCall}));

    // Every way of asking, long after, with the conditions met.
    advance(30 * kDay);
    launch();
    significantEvent();
    RatingPrompt::tryToShowPrompt();
    EXPECT_EQ(!shownAlertTitles().empty(), button.laterPromptsShow);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonTest,
    ::testing::Combine(::testing::Values(ButtonCase{"Cancel", "No, Thanks", true, false, false, "didDeclineToRate", false},
                                         ButtonCase{"Rate", "Rate Pallqa Tuner", false, true, false, "didOptToRate", false},
                                         ButtonCase{"RemindLater", "Remind me later", false, false, true,
                                                    "didOptToRemindLater", true}),
                       ::testing::Bool()),
    [](const auto& tested) {
        return std::string(std::get<0>(tested.param).name) + (std::get<1>(tested.param) ? "OnLegacyAlert" : "OnModernAlert");
    });

TEST_F(RatingPromptTest, ModernAlertActionsEndWithTheCancelStyle) {
    RatingPrompt::tryToShowPrompt();
    const auto alert = presentedAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Rate Pallqa Tuner");
    EXPECT_EQ(alert->preferredStyle(), platform::AlertControllerStyle::Alert);
    std::vector<platform::AlertActionStyle> styles;
    for (const auto& action : alert->actions()) styles.push_back(action.style());
    EXPECT_EQ(styles, (std::vector<platform::AlertActionStyle>{platform::AlertActionStyle::Default,
                                                               platform::AlertActionStyle::Default,
                                                               platform::AlertActionStyle::Cancel}));
}

TEST_F(RatingPromptTest, TryToShowPromptIgnoresCountsDatesAndTheReminder) {
    configureAsLaunch();
    RatingPrompt::tryToShowPrompt();
    EXPECT_EQ(shownAlertTitles(), kThreeButtons) << "never used, never counted";

    tap("Remind me later");
    RatingPrompt::tryToShowPrompt();
    EXPECT_EQ(shownAlertTitles(), kThreeButtons) << "right after remind later";
}

TEST_F(RatingPromptTest, TryToShowPromptDoesNothingWhileTheAlertIsVisible) {
    RatingPrompt::tryToShowPrompt();
    const auto first = presentedAlert();
    ASSERT_NE(first, nullptr);
    RatingPrompt::tryToShowPrompt();

    EXPECT_EQ(presentedAlert(), first);
    EXPECT_EQ(std::get<std::shared_ptr<platform::AlertController>>(ratingPrompt().ratingAlert()), first);
}

TEST_F(RatingPromptTest, ForceShowPromptSkipsTheChecksAndCanLeaveOutRemindLater) {
    useNetwork("offline");
    defaults->setBool(true, rating::kRatingPromptDeclinedToRate);
    RatingPrompt::forceShowPrompt(false);

    EXPECT_EQ(shownAlertTitles(), (Titles{"Rate Pallqa Tuner", "No, Thanks"}));
}

TEST_F(RatingPromptTest, ARateTitleEqualToTheCancelTitleCountsAsCancel) {
    RatingPrompt::setCustomAlertRateButtonTitle("OK");
    RatingPrompt::setCustomAlertCancelButtonTitle("OK");
    RatingPrompt::tryToShowPrompt();
    ASSERT_EQ(shownAlertTitles(), (Titles{"OK", "Remind me later", "OK"}));

    tap("OK");  // the first one: the rate action

    EXPECT_TRUE(ratingPrompt().userHasDeclinedToRate());
    EXPECT_FALSE(ratingPrompt().userHasRatedCurrentVersion());
    EXPECT_TRUE(urls->opened().empty());
}

class ResignActiveTest : public RatingPromptTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ResignActiveTest, HidesTheAlertWithoutAnswering) {
    const bool legacy = GetParam();
    offer(false, !legacy, false);
    RatingPrompt::tryToShowPrompt();
    ASSERT_FALSE(shownAlertTitles().empty());

    platform::NotificationCenter::defaultCenter().post(platform::kApplicationWillResignActiveNotification);

    EXPECT_TRUE(shownAlertTitles().empty());
    EXPECT_FALSE(ratingPrompt().isRatingAlertVisible());
    EXPECT_FALSE(ratingPrompt().userHasDeclinedToRate());
    EXPECT_FALSE(ratingPrompt().userHasRatedCurrentVersion());
    EXPECT_EQ(defaults->doubleForKey(rating::kRatingPromptReminderRequestDate), 0.0);
    // The legacy alert reports index -1, which forgets it; the modern one stays remembered.
    EXPECT_EQ(std::holds_alternative<std::monostate>(ratingPrompt().ratingAlert()), legacy);

    RatingPrompt::tryToShowPrompt();
    EXPECT_FALSE(shownAlertTitles().empty()) << "a hidden alert does not block the next one";
}

INSTANTIATE_TEST_SUITE_P(Alerts, ResignActiveTest, ::testing::Bool(),
                         [](const auto& tested) { return tested.param ? "Legacy" : "Modern"; });

TEST_F(RatingPromptTest, TheDelegateCanVetoThePrompt) {
    RecordingDelegate recorder;
    recorder.allowDisplay = false;
    RatingPrompt::setDelegate(recorder.delegate);
    RatingPrompt::tryToShowPrompt();

    EXPECT_TRUE(shownAlertTitles().empty());
    EXPECT_EQ(recorder.calls, (Titles{"shouldDisplayAlert"}));
}

TEST_F(RatingPromptTest, ADelegateThatIsGoneOrImplementsNothingIsNotCalled) {
    auto gone = std::make_shared<RecordingDelegate>();
    RatingPrompt::setDelegate(gone->delegate);
    gone.reset();
    RatingPrompt::tryToShowPrompt();
    ASSERT_FALSE(shownAlertTitles().empty());
    tap("Remind me later");

    const auto empty = std::make_shared<rating::RatingPromptDelegate>();
    RatingPrompt::setDelegate(empty);
    RatingPrompt::tryToShowPrompt();
    EXPECT_FALSE(shownAlertTitles().empty());
}

TEST_F(RatingPromptTest, WithoutAScreenToPresentOnTheAlertIsKeptButDoesNotBlock) {
    window->setWindowLevel(platform::Window::kLevelAlert);
    RatingPrompt::tryToShowPrompt();
    EXPECT_TRUE(shownAlertTitles().empty());
    EXPECT_TRUE(std::holds_alternative<std::shared_ptr<platform::AlertController>>(ratingPrompt().ratingAlert()));

    window->setWindowLevel(platform::Window::kLevelNormal);
    RatingPrompt::tryToShowPrompt();
    EXPECT_FALSE(shownAlertTitles().empty());
}

TEST_F(RatingPromptTest, ThePromptGoesOnTheTopMostScreenOfTheFirstNormalWindow) {
    window->setWindowLevel(platform::Window::kLevelAlert);
    auto normal = std::make_shared<platform::Window>(platform::Screen::mainBounds());
    auto container = std::make_shared<platform::View>();
    normal->addSubview(container);
    auto root = std::make_shared<platform::ViewController>();
    container->addSubview(root->view());
    auto over = std::make_shared<platform::ViewController>();
    root->presentViewController(over, false);
    normal->makeKeyAndVisible();
    window->makeKeyAndVisible();  // the key window is not at the normal level

    EXPECT_EQ(RatingPrompt::getRootViewController(), over.get());
}

}  // namespace
}  // namespace rating_test
