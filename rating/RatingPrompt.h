#pragma once
// RatingPrompt, the rating prompt. Once the running version of the application
// has been used long enough it asks the user to rate the application in the
// store, and never again for that version once the user has answered.
//
// Its memory is seven keys of the settings store (RatingPromptKeys.h), its clock
// the main run loop's. It shows itself through the platform's review request
// when there is one, else through an alert of its own with up to three buttons
// (rate, remind later, cancel), and rates by opening the store's review page or
// the store's product sheet.
//
// The rest of the program uses the class-level operations: the launch sets the
// settings and calls appLaunched(true); the tuner and the chord chart call
// tryToShowPrompt(). Everything else is here for those operations, the alert
// and the tests.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/Alert.h"
#include "platform/core/Bundle.h"
#include "platform/net/StoreKit.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/core/WorkQueue.h"
#include "rating/RatingPromptDelegate.h"
#include "rating/RatingPromptKeys.h"
#include "rating/NetworkTestRequests.h"

namespace rating {

// The alert last shown: a modern alert controller or a legacy alert view.
using RatingAlert = std::variant<std::monostate, std::shared_ptr<platform::AlertController>,
                                 std::shared_ptr<platform::AlertView>>;

class RatingPrompt final : public platform::AlertViewDelegate,
                        public platform::StoreProductViewControllerDelegate,
                        public std::enable_shared_from_this<RatingPrompt> {
public:
    // The buttons' indexes, as the alert reports them.
    static constexpr int64_t kCancelButtonIndex = 0;
    static constexpr int64_t kRateButtonIndex = 1;
    static constexpr int64_t kRateLaterButtonIndex = 2;

    // --- Class-level settings: process-wide, in memory only; any thread. ---

    // The application's store identifier, a decimal text (none by default).
    static void setAppId(std::string appId);
    // Days since the version's first use before asking (30.0).
    static void setDaysUntilPrompt(double days);
    // Uses of the version before asking (20).
    static void setUsesUntilPrompt(int64_t uses);
    // Significant events of the version before asking (-1: always met).
    static void setSignificantEventsUntilPrompt(int64_t events);
    // Days after the remind-later button before asking again (1.0).
    static void setTimeBeforeReminding(double days);
    // Debug mode (off): the conditions count as met, the launch shows the
    // prompt at once, and "RATING PROMPT" lines are logged.
    static void setDebug(bool debug);
    // Whether the product sheet comes and goes with animation (on).
    static void setUsesAnimation(bool animation);
    // Whether the product sheet is on screen (off).
    static void setModalOpen(bool open);
    // Take texts from the main bundle rather than a separate "RatingPrompt.bundle" (off).
    static void setAlwaysUseMainBundle(bool alwaysUseMainBundle);
    // Accepted and ignored: there is no status bar.
    static void setStatusBarStyle(int64_t style);

    static std::string appId();
    static double daysUntilPrompt();
    static int64_t usesUntilPrompt();
    static int64_t significantEventsUntilPrompt();
    static double timeBeforeReminding();
    static bool debug();
    static bool usesAnimation();
    static bool modalOpen();
    static bool alwaysUseMainBundle();

    // --- Class-level writers of the shared instance's properties. ---

    static void setOpenInAppStore(bool openInAppStore);
    // The delegate is not owned; it reads as none once its owner lets it go.
    static void setDelegate(std::weak_ptr<RatingPromptDelegate> delegate);
    // Custom texts; an empty one means the default text.
    static void setCustomAlertTitle(std::string title);
    static void setCustomAlertMessage(std::string message);
    static void setCustomAlertCancelButtonTitle(std::string title);
    static void setCustomAlertRateButtonTitle(std::string title);
    static void setCustomAlertRateLaterButtonTitle(std::string title);

    // --- The shared instance. ---

    // Any thread: made on the first call (which also starts listening for the
    // application resigning active), then kept for the process.
    static RatingPrompt& sharedInstance();

    // For tests only: waits for queued rating work, forgets the shared instance
    // and puts every class-level setting back to its default, so that the next
    // test starts as a freshly started process would.
    static void resetSharedStateForTesting();

    // --- Class-level entry points. ---

    // Counts one use on the shared background queue and, if `canPromptForRating`
    // and the prompt is due, shows it on the main thread. Returns at once. In
    // debug mode it shows the prompt without counting or checking.
    static void appLaunched(bool canPromptForRating);
    static void appLaunched();
    // The same, counted on the shared instance's serial event queue.
    static void appEnteredForeground(bool canPromptForRating);
    // Counts one significant event on the event queue, then as appLaunched.
    static void userDidSignificantEvent(bool canPromptForRating);
    // Main thread. Shows the prompt with the remind-later button if it is
    // appropriate now; the counts and dates are not looked at.
    static void tryToShowPrompt();
    static void showPrompt();
    // Main thread. Shows the prompt without any check.
    static void forceShowPrompt(bool displayRateLaterButton);
    // Main thread. Marks this version rated and sends the user to rate it.
    static void rateApp();
    // Main thread. Dismisses the product sheet when it is open.
    static void closeModal();
    // Main thread. Hides the alert; the application is about to resign active.
    static void appWillResignActive();

    // The bundle the texts come from.
    static const platform::Bundle& bundle();
    // Main thread. The screen to present on: the top-most one of the first
    // normal-level window; none when there is no such window or screen.
    static platform::ViewController* getRootViewController();
    static platform::ViewController* iterateSubViewsForViewController(const platform::View& view);
    static platform::ViewController* topMostViewController(platform::ViewController* controller);

    // --- Properties. ---

    // Rate through the store's page (true) or its product sheet where offered.
    bool openInAppStore() const { return openInAppStore_.load(std::memory_order_relaxed); }
    RatingAlert ratingAlert() const;
    std::shared_ptr<RatingPromptDelegate> delegate() const;
    // Main thread. The custom text when set, else the localised default, with
    // the application's name in the title, the message and the rate button.
    std::string alertTitle() const;
    std::string alertMessage() const;
    std::string alertCancelTitle() const;
    std::string alertRateTitle() const;
    std::string alertRateLaterTitle() const;
    platform::WorkQueue& eventQueue() { return *eventQueue_; }

    // --- State and conditions; any thread. ---

    // Count one use / one significant event of the running version; a new
    // version starts all seven keys afresh.
    void incrementUseCount();
    void incrementSignificantEventCount();
    // Days, uses, events and the reminder all passed (always in debug mode).
    bool ratingConditionsHaveBeenMet() const;
    bool userHasDeclinedToRate() const;
    bool userHasRatedCurrentVersion() const;
    // Whether the network is reachable; also starts the network test's request
    // (see NetworkTestRequests.h for how often).
    bool connectedToNetwork();

    // --- The prompt. ---

    // Any thread: online, neither declined nor rated, and no alert showing.
    bool ratingAlertIsAppropriate();
    // Any thread.
    bool isRatingAlertVisible() const;
    // Any thread: count, then show the prompt on the main thread when allowed,
    // due and appropriate.
    void incrementAndRate(bool canPromptForRating);
    void incrementSignificantEventAndRate(bool canPromptForRating);
    // Main thread.
    void showPromptWithChecks(bool withChecks, bool displayRateLaterButton);
    void showRatingAlert(bool displayRateLaterButton = true);
    void hideRatingAlert();
    // Main thread. Handles the button at `buttonIndex` (see the k...ButtonIndex
    // constants; any other index only forgets the alert).
    void alertViewDidDismissWithButtonIndex(int64_t buttonIndex);
    // The legacy alert view's report; passed on unchanged.
    void alertViewDidDismissWithButtonIndex(platform::AlertView& alertView, int64_t buttonIndex) override;
    // The product sheet's report that the user closed it.
    void productViewControllerDidFinish(platform::StoreProductViewController& controller) override;

    ~RatingPrompt() override;
    RatingPrompt(const RatingPrompt&) = delete;
    RatingPrompt& operator=(const RatingPrompt&) = delete;

private:
    RatingPrompt();

    // The custom texts; an empty one is not set.
    struct CustomTexts {
        std::string title;
        std::string message;
        std::string cancelTitle;
        std::string rateTitle;
        std::string rateLaterTitle;
    };
    static void setCustomText(std::string CustomTexts::*field, std::string text);

    // The state a new version starts from, apart from the counts' common resets.
    struct VersionStart {
        double firstUseDate;
        int64_t useCount;
        int64_t significantEventCount;
    };
    void incrementCount(const char* counterKey, const char* debugFormat, const VersionStart& start);
    void showRatingAlertOnMainThread();
    void showAlertController(std::vector<std::string> titles);
    void showAlertView(const std::vector<std::string>& titles);
    int64_t buttonIndexForTitle(const std::string& title) const;
    void setRatingAlert(RatingAlert alert);
    void presentProductSheet();
    std::string text(std::string CustomTexts::*custom, const char* key, bool withName) const;

    template <typename Operation, typename... Args>
    void tellDelegate(Operation RatingPromptDelegate::*operation, Args&&... args) const {
        const auto listener = delegate();
        if (listener && (*listener).*operation) ((*listener).*operation)(std::forward<Args>(args)...);
    }

    std::atomic<bool> openInAppStore_;
    mutable std::mutex mutex_;  // guards the fields below
    RatingAlert ratingAlert_;
    std::weak_ptr<RatingPromptDelegate> delegate_;
    CustomTexts customTexts_;
    NetworkTestRequests networkTest_;
    // Last, so it is stopped (finishing its queued counts) before the rest goes.
    std::unique_ptr<platform::WorkQueue> eventQueue_;
};

}  // namespace rating
