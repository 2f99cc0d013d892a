#include "tests/rating/RatingPromptFixture.h"

#include <algorithm>
#include <cstdlib>

#include "platform/core/Device.h"
#include "platform/core/WorkQueue.h"
#include "platform/net/Reachability.h"

namespace rating_test {

RecordingDelegate::RecordingDelegate() : delegate(std::make_shared<rating::RatingPromptDelegate>()) {
    delegate->ratingPromptShouldDisplayAlert = [this](rating::RatingPrompt&) {
        calls.push_back("shouldDisplayAlert");
        return allowDisplay;
    };
    delegate->ratingPromptDidDisplayAlert = [this](rating::RatingPrompt&) { calls.push_back("didDisplayAlert"); };
    delegate->ratingPromptDidDeclineToRate = [this](rating::RatingPrompt&) { calls.push_back("didDeclineToRate"); };
    delegate->ratingPromptDidOptToRate = [this](rating::RatingPrompt&) { calls.push_back("didOptToRate"); };
    delegate->ratingPromptDidOptToRemindLater = [this](rating::RatingPrompt&) { calls.push_back("didOptToRemindLater"); };
    delegate->ratingPromptWillPresentModalView = [this](rating::RatingPrompt&, bool animated) {
        calls.push_back(std::string("willPresentModalView animated=") + (animated ? "yes" : "no"));
    };
    delegate->ratingPromptDidDismissModalView = [this](bool animated) {
        calls.push_back(std::string("didDismissModalView animated=") + (animated ? "yes" : "no"));
    };
}

void RatingPromptTest::SetUp() {
    PlainPlatformTest::SetUp();
    environment.clear("PALLQA_NETWORK_TEST_URL");
    transport = std::make_shared<platform::RecordingHttpTransport>();
    platform::setHttpTransport(transport);
    useNetwork("online");
    offer(false, true, false);
    screen = std::make_shared<platform::ViewController>();
    window = std::make_shared<platform::Window>(platform::Screen::mainBounds());
    window->setRootViewController(screen);
    window->makeKeyAndVisible();
}

void RatingPromptTest::TearDown() {
    rating::RatingPrompt::resetSharedStateForTesting();
    PlainPlatformTest::TearDown();
}

void RatingPromptTest::configureAsLaunch() {
    rating::RatingPrompt::setAppId(kAppId);
    rating::RatingPrompt::setDaysUntilPrompt(2.0);
    rating::RatingPrompt::setUsesUntilPrompt(2);
    rating::RatingPrompt::setSignificantEventsUntilPrompt(-1);
    rating::RatingPrompt::setTimeBeforeReminding(2.0);
    rating::RatingPrompt::setOpenInAppStore(true);
}

void RatingPromptTest::useNetwork(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(std::getenv("PALLQA_TEST_DATA")) / "network" / name;
    platform::NetworkReachability::setSources({folder / "net", folder / "route"});
}

void RatingPromptTest::offer(bool storeReviewRequest, bool alertController, bool storeProductSheet) {
    platform::setCapabilities({storeReviewRequest, alertController, storeProductSheet});
}

void RatingPromptTest::setSystemVersion(const std::string& version) {
    platform::DeviceDescription device = platform::Device::current();
    device.systemVersion = version;
    platform::Device::setCurrent(device);
}

void RatingPromptTest::launch(bool canPromptForRating) {
    rating::RatingPrompt::appLaunched(canPromptForRating);
    platform::WorkQueue::background().waitUntilIdle();
    loop->runDueItems();
}

void RatingPromptTest::enterForeground(bool canPromptForRating) {
    rating::RatingPrompt::appEnteredForeground(canPromptForRating);
    ratingPrompt().eventQueue().waitUntilIdle();
    loop->runDueItems();
}

void RatingPromptTest::significantEvent(bool canPromptForRating) {
    rating::RatingPrompt::userDidSignificantEvent(canPromptForRating);
    ratingPrompt().eventQueue().waitUntilIdle();
    loop->runDueItems();
}

std::shared_ptr<platform::AlertController> RatingPromptTest::presentedAlert() const {
    return std::dynamic_pointer_cast<platform::AlertController>(screen->presentedViewController());
}

std::vector<std::string> RatingPromptTest::actionTitles(const platform::AlertController& alert) {
    std::vector<std::string> titles;
    for (const auto& action : alert.actions()) titles.push_back(action.title());
    return titles;
}

namespace {

std::shared_ptr<platform::AlertView> legacyAlert() {
    const rating::RatingAlert alert = rating::RatingPrompt::sharedInstance().ratingAlert();
    const auto* view = std::get_if<std::shared_ptr<platform::AlertView>>(&alert);
    return view && (*view)->isVisible() ? *view : nullptr;
}

}  // namespace

std::vector<std::string> RatingPromptTest::shownAlertTitles() const {
    if (const auto alert = presentedAlert()) return actionTitles(*alert);
    std::vector<std::string> titles;
    if (const auto alert = legacyAlert()) {
        for (int64_t i = 0; i < alert->numberOfButtons(); ++i) titles.push_back(alert->buttonTitleAtIndex(i));
    }
    return titles;
}

void RatingPromptTest::tap(const std::string& title) {
    const auto titles = shownAlertTitles();
    ASSERT_FALSE(titles.empty()) << "no alert is shown";
    const auto found = std::find(titles.begin(), titles.end(), title);
    ASSERT_NE(found, titles.end()) << "the alert has no button \"" << title << "\"";
    const auto index = found - titles.begin();
    if (const auto alert = presentedAlert()) {
        EXPECT_TRUE(alert->userTapAction(static_cast<size_t>(index)));
    } else {
        EXPECT_TRUE(legacyAlert()->userTapButtonAtIndex(index));
    }
}

}  // namespace rating_test
