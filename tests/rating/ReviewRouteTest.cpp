// The review route on its own: it reads the settings it was given, and the
// product sheet counts as open only once it has been presented.

#include "platform/net/StoreKit.h"
#include "rating/ReviewRoute.h"
#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::ReviewRoute;

class ReviewRouteTest : public RatingPromptTest {
protected:
    ReviewRoute::SheetEvents recordEvents() {
        const auto record = [this](const std::string& event, bool animated) {
            events.push_back(animated ? event + " animated" : event);
        };
        return {.willPresent = [record](bool animated) { record("willPresent", animated); },
                .didDismiss = [record](bool animated) { record("didDismiss", animated); }};
    }

    rating::PromptSettings settings;
    std::vector<std::string> events;
};

TEST_F(ReviewRouteTest, OpensThePageOfTheIdentifierItWasGiven) {
    rating::RatingPrompt::setAppId(kAppId);
    settings.setAppId("42");
    ReviewRoute route(settings, recordEvents());
    route.open({});

    EXPECT_EQ(urls->opened(), std::vector<std::string>{"itms-apps://apps.apple.com/WebObjects/MZStore.woa/wa/"
                                                       "viewContentsUserReviews?id=42&onlyLatestVersion=true"
                                                       "&pageNumber=0&sortOrdering=1&type=Purple+Software"});
}

TEST_F(ReviewRouteTest, TheSheetIsOpenOnlyOncePresentedAndClosesOnce) {
    offer(false, true, true);
    settings.usesAnimation = false;
    ReviewRoute route(settings, recordEvents());
    route.setOpenInAppStore(false);

    window->setWindowLevel(platform::Window::kLevelAlert);  // no screen to present on
    route.open({});
    EXPECT_FALSE(settings.modalOpen);
    route.closeProductSheet();
    EXPECT_EQ(events, std::vector<std::string>{"willPresent"});

    window->setWindowLevel(platform::Window::kLevelNormal);
    route.open({});
    EXPECT_TRUE(settings.modalOpen);
    EXPECT_FALSE(rating::RatingPrompt::modalOpen()) << "the process's settings are not the route's";
    route.closeProductSheet();
    route.closeProductSheet();

    EXPECT_FALSE(settings.modalOpen);
    EXPECT_EQ(screen->presentedViewController(), nullptr);
    EXPECT_EQ(events, (std::vector<std::string>{"willPresent", "willPresent", "didDismiss"}));
}

}  // namespace
}  // namespace rating_test
