#pragma once
// RatingPrompt, the rating prompt. Once the running version of the application
// has been used long enough it asks the user to rate the application in the
// review store, and never again for that version once the user has answered.
//
// The rest of the program uses the class-level operations: the launch sets the
// settings and calls appLaunched(true); the tuner and the chord chart call
// tryToShowPrompt(). The prompt owns its parts, each with one job, and its
// operations are short forwards to them:
//   PromptSettings  the class-level settings, one copy per process, in memory;
//   RatingState     the counts, dates and answers kept in the settings store,
//                   and whether they make it time to ask;
//   NetworkTest     whether the network is reachable;
//   PromptAlert     its own alert and the alert's texts (AlertTexts), which
//                   hands the button chosen back to the prompt;
//   ReviewRoute     how the user is sent to the review store.
// The alert and the route present on the screen PresentingScreen.h finds.
// The prompt decides between them: counts, then the conditions and the
// appropriateness test, then the alert or the review route, then the answer
// recorded in the state.
//
// Two stores meet here, and a route between them: the settings store
// (platform::UserDefaults), where RatingState keeps the prompt's memory; the
// review store, the platform's application store where the user writes the
// review; and the review route, how the prompt sends the user there.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "platform/core/Bundle.h"
#include "platform/core/WorkQueue.h"
#include "platform/net/StoreKit.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "rating/NetworkTest.h"
#include "rating/PromptAlert.h"
#include "rating/PromptSettings.h"
#include "rating/RatingPromptDelegate.h"
#include "rating/RatingPromptKeys.h"
#include "rating/RatingState.h"
#include "rating/ReviewRoute.h"

namespace rating {

class RatingPrompt final : public PromptAlertListener,
                           public platform::StoreProductViewControllerDelegate,
                           public std::enable_shared_from_this<RatingPrompt> {
public:
    // The buttons' indexes, as the alert reports them.
    static constexpr int64_t kCancelButtonIndex = PromptAlert::kCancelButtonIndex;
    static constexpr int64_t kRateButtonIndex = PromptAlert::kRateButtonIndex;
    static constexpr int64_t kRateLaterButtonIndex = PromptAlert::kRateLaterButtonIndex;

    // --- Class-level settings (PromptSettings.h): any thread. ---

    // The application's identifier in the review store, a decimal text (none by default).
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
    // Accepted and ignored: there is no status bar; nothing calls it.
    static void setStatusBarStyle(int64_t style);

    // Read by the tests only: the launch's settings, and the product sheet's
    // coming and going; the parts read PromptSettings.
    static std::string appId();
    static double daysUntilPrompt();
    static int64_t usesUntilPrompt();
    static int64_t significantEventsUntilPrompt();
    static double timeBeforeReminding();
    static bool modalOpen();

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
    // Main thread. Shows the prompt with the remind-later button if it is
    // appropriate now; the counts and dates are not looked at.
    static void tryToShowPrompt();
    // Main thread. Marks this version rated and sends the user to rate it.
    static void rateApp();
    // Main thread. Dismisses the product sheet when it is open.
    static void closeModal();
    // Main thread. Hides the alert; the application is about to resign active.
    static void appWillResignActive();

    // The prompt's interface has these too; nothing in this program calls
    // them, the tests call all but the two aliases.
    // As appLaunched, counted on the shared instance's serial event queue.
    static void appEnteredForeground(bool canPromptForRating);
    // Counts one significant event on the event queue, then as appLaunched.
    static void userDidSignificantEvent(bool canPromptForRating);
    // Main thread. Shows the prompt without any check.
    static void forceShowPrompt(bool displayRateLaterButton);
    // Aliases: appLaunched(true) and tryToShowPrompt().
    static void appLaunched();
    static void showPrompt();

    // The prompt's interface has these too; the parts use AlertTexts.h and
    // PresentingScreen.h, and only the tests call getRootViewController().
    // The bundle the texts come from.
    static std::shared_ptr<const platform::Bundle> bundle();
    // Main thread. The screen to present on.
    static platform::ViewController* getRootViewController();
    static platform::ViewController* iterateSubViewsForViewController(const platform::View& view);
    static platform::ViewController* topMostViewController(platform::ViewController* controller);

    // --- Properties. ---

    // Open the review store by address (true) or its product sheet where offered.
    bool openInAppStore() const { return reviewRoute_.openInAppStore(); }
    RatingAlert ratingAlert() const { return alert_.remembered(); }
    std::shared_ptr<RatingPromptDelegate> delegate() const;
    // Main thread. The custom text when set, else the localised default; the
    // alert reads AlertTexts, the tests read these.
    std::string alertTitle() const { return alert_.texts().title(); }
    std::string alertMessage() const { return alert_.texts().message(); }
    std::string alertCancelTitle() const { return alert_.texts().cancelTitle(); }
    std::string alertRateTitle() const { return alert_.texts().rateTitle(); }
    std::string alertRateLaterTitle() const { return alert_.texts().rateLaterTitle(); }
    platform::WorkQueue& eventQueue() { return *eventQueue_; }

    // --- State and conditions (RatingState, NetworkTest); any thread. ---

    void incrementUseCount() { state_.incrementUseCount(); }
    void incrementSignificantEventCount() { state_.incrementSignificantEventCount(); }
    bool ratingConditionsHaveBeenMet() const { return state_.ratingConditionsHaveBeenMet(); }
    bool userHasDeclinedToRate() const { return state_.userHasDeclinedToRate(); }
    bool userHasRatedCurrentVersion() const { return state_.userHasRatedCurrentVersion(); }
    bool connectedToNetwork() { return networkTest_.connectedToNetwork(); }

    // --- The prompt. ---

    // Any thread: online, neither declined nor rated, and no alert showing.
    bool ratingAlertIsAppropriate();
    // Any thread.
    bool isRatingAlertVisible() const { return alert_.isVisible(); }
    // Any thread: count, then show the prompt on the main thread when allowed,
    // due and appropriate.
    void incrementAndRate(bool canPromptForRating);
    void incrementSignificantEventAndRate(bool canPromptForRating);
    // Main thread.
    void showPromptWithChecks(bool withChecks, bool displayRateLaterButton);
    void showRatingAlert(bool displayRateLaterButton = true);
    void hideRatingAlert() { alert_.hide(); }
    // Main thread. Handles the button at `buttonIndex` (see the k...ButtonIndex
    // constants; any other index only forgets the alert).
    void alertViewDidDismissWithButtonIndex(int64_t buttonIndex) override;
    // The legacy alert view's report; passed on unchanged.
    void alertViewDidDismissWithButtonIndex(platform::AlertView& alertView, int64_t buttonIndex) override;
    // The product sheet's report that the user closed it.
    void productViewControllerDidFinish(platform::StoreProductViewController& controller) override;

    ~RatingPrompt() override;
    RatingPrompt(const RatingPrompt&) = delete;
    RatingPrompt& operator=(const RatingPrompt&) = delete;

private:
    RatingPrompt();
    // The product sheet's coming and going, told to the delegate.
    ReviewRoute::SheetEvents sheetEvents();

    // Shows the prompt on the main thread when allowed, due and appropriate.
    void rateIfDue(bool canPromptForRating);
    void showRatingAlertOnMainThread();

    template <typename Operation, typename... Args>
    void tellDelegate(Operation RatingPromptDelegate::*operation, Args&&... args) const {
        const auto listener = delegate();
        if (listener && (*listener).*operation) ((*listener).*operation)(std::forward<Args>(args)...);
    }

    RatingState state_;
    NetworkTest networkTest_;
    PromptAlert alert_;
    ReviewRoute reviewRoute_;
    mutable std::mutex delegateMutex_;
    std::weak_ptr<RatingPromptDelegate> delegate_;
    // Last, so it is stopped (finishing its queued counts) before the rest goes.
    std::unique_ptr<platform::WorkQueue> eventQueue_;
};

}  // namespace rating
