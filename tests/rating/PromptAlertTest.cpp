// The alert on its own: the answer a tapped button gives, read from the texts
// when it is tapped, and taps that come after the listener or the alert part
// has gone.

#include "rating/PromptAlert.h"
#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::PromptAlert;

struct RecordingListener : rating::PromptAlertListener {
    void alertViewDidDismissWithButtonIndex(int64_t buttonIndex) override { answers.push_back(buttonIndex); }
    void alertViewDidDismissWithButtonIndex(platform::AlertView&, int64_t buttonIndex) override {
        alertViewDidDismissWithButtonIndex(buttonIndex);
    }
    std::vector<int64_t> answers;
};

struct TapCase {
    const char* name;
    const char* renamedRateTitle;  // set after showing, or none
    const char* tapped;
    int64_t answer;
};

// Names the case in test listings.
void PrintTo(const TapCase& c, std::ostream* out) { *out << c.name; }

class AlertAnswerTest : public RatingPromptTest, public ::testing::WithParamInterface<TapCase> {
protected:
    rating::PromptSettings settings;
    PromptAlert alert{settings};
    std::shared_ptr<RecordingListener> listener = std::make_shared<RecordingListener>();
};

TEST_P(AlertAnswerTest, IsTheButtonWearingTheTappedTitleWhenTapped) {
    alert.show(PromptAlert::Kind::Modern, true, listener);
    if (GetParam().renamedRateTitle) alert.texts().setCustomRateTitle(GetParam().renamedRateTitle);

    tap(GetParam().tapped);

    EXPECT_EQ(listener->answers, std::vector<int64_t>{GetParam().answer});
}

INSTANTIATE_TEST_SUITE_P(
    Taps, AlertAnswerTest,
    ::testing::Values(TapCase{"Rate", nullptr, "Rate Pallqa Tuner", PromptAlert::kRateButtonIndex},
                      TapCase{"RemindLater", nullptr, "Remind me later", PromptAlert::kRateLaterButtonIndex},
                      TapCase{"Cancel", nullptr, "No, Thanks", PromptAlert::kCancelButtonIndex},
                      TapCase{"RateRenamedSinceShown", "Rate now", "Rate Pallqa Tuner", -1}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(RatingPromptTest, ATapAfterTheListenerHasGoneIsDropped) {
    rating::PromptSettings settings;
    PromptAlert alert(settings);
    auto listener = std::make_shared<RecordingListener>();
    alert.show(PromptAlert::Kind::Modern, true, listener);
    const std::weak_ptr<RecordingListener> gone = listener;
    listener.reset();

    tap("Remind me later");

    EXPECT_TRUE(gone.expired()) << "the alert keeps its listener alive";
    EXPECT_TRUE(std::holds_alternative<std::shared_ptr<platform::AlertController>>(alert.remembered()))
        << "nobody answered, so nobody forgot it";
}

TEST_F(RatingPromptTest, ATapAfterTheAlertPartHasGoneIsDropped) {
    auto listener = std::make_shared<RecordingListener>();
    {
        rating::PromptSettings settings;
        PromptAlert alert(settings);
        alert.show(PromptAlert::Kind::Modern, true, listener);
    }
    ASSERT_NE(presentedAlert(), nullptr) << "the screen still shows it";

    tap("Rate Pallqa Tuner");

    EXPECT_TRUE(listener->answers.empty());
}

}  // namespace
}  // namespace rating_test
