#pragma once
// A fresh rating prompt on the plain platform for each test: a key window with
// one screen to present on, the network reachable through fixture files, the
// desktop's services (the modern alert only), a recording web transport, and
// helpers that run the entry points to the end of their queued work.

#include <memory>
#include <string>
#include <vector>

#include "platform/net/UrlSession.h"
#include "platform/ui/Alert.h"
#include "platform/ui/Capabilities.h"
#include "platform/ui/ViewController.h"
#include "rating/RatingPrompt.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/ScopedEnvironment.h"

namespace rating_test {

constexpr double kDay = 86400.0;
constexpr const char* kAppId = "1447470931";

// Records the delegate operations in the order they are called.
struct RecordingDelegate {
    RecordingDelegate();
    std::vector<std::string> calls;
    bool allowDisplay = true;
    std::shared_ptr<rating::RatingPromptDelegate> delegate;
};

class RatingPromptTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The settings the launch gives: days 2, uses 2, events -1, reminding 2,
    // open in the store, and the store identifier.
    static void configureAsLaunch();
    // Reachability read from tests/rating/data/network/<name>; a missing name
    // makes the flags unreadable.
    static void useNetwork(const std::string& name);
    static void offer(bool storeReviewRequest, bool alertController, bool storeProductSheet);
    void setSystemVersion(const std::string& version);

    // Each runs the entry point and whatever it queued, main thread included.
    void launch(bool canPromptForRating = true);
    void enterForeground(bool canPromptForRating = true);
    void significantEvent(bool canPromptForRating = true);

    // The modern alert presented on the screen, if any.
    std::shared_ptr<platform::AlertController> presentedAlert() const;
    static std::vector<std::string> actionTitles(const platform::AlertController& alert);
    // The button titles of the alert on screen, modern or legacy, in the order
    // of their indexes or actions; empty when none is visible.
    std::vector<std::string> shownAlertTitles() const;
    // Taps the first button with this title of the alert on screen; fails the
    // test when there is none.
    void tap(const std::string& title);
    static rating::RatingPrompt& ratingPrompt() { return rating::RatingPrompt::sharedInstance(); }

    // The network test's address comes from the bundle unless a test sets
    // PALLQA_NETWORK_TEST_URL here, whatever the developer's environment says.
    testing_support::ScopedEnvironment environment;

    std::shared_ptr<platform::Window> window;
    std::shared_ptr<platform::ViewController> screen;
    std::shared_ptr<platform::RecordingHttpTransport> transport;
};

}  // namespace rating_test
