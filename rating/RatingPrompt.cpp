// The shared instance, the forwards to its parts, and the decisions between
// them: when to count, when to ask, and what an answer does.

#include "rating/RatingPrompt.h"

#include <utility>

#include "platform/core/Log.h"
#include "platform/core/NotificationCenter.h"
#include "platform/core/RunLoop.h"
#include "platform/ui/Capabilities.h"
#include "rating/PresentingScreen.h"

namespace rating {
namespace {

PromptSettings& settings() { return PromptSettings::process(); }

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<RatingPrompt>& sharedSlot() {
    static std::shared_ptr<RatingPrompt> instance;
    return instance;
}

}  // namespace

RatingPrompt::RatingPrompt()
    : state_(settings()),
      alert_(settings()),
      reviewRoute_(settings(), sheetEvents()),
      eventQueue_(std::make_unique<platform::WorkQueue>("rating prompt events")) {}

ReviewRoute::SheetEvents RatingPrompt::sheetEvents() {
    ReviewRoute::SheetEvents events;
    events.willPresent = [this](bool animated) {
        tellDelegate(&RatingPromptDelegate::ratingPromptWillPresentModalView, *this, animated);
    };
    // Told by the class, not an instance: it may come after this instance has gone.
    events.didDismiss = [](bool animated) {
        sharedInstance().tellDelegate(&RatingPromptDelegate::ratingPromptDidDismissModalView, animated);
    };
    return events;
}

RatingPrompt::~RatingPrompt() = default;

RatingPrompt& RatingPrompt::sharedInstance() {
    static std::once_flag listening;
    std::call_once(listening, [] {
        platform::NotificationCenter::defaultCenter().addObserver(platform::kApplicationWillResignActiveNotification,
                                                                  [] { RatingPrompt::appWillResignActive(); });
    });
    std::lock_guard lock(sharedMutex());
    auto& instance = sharedSlot();
    if (!instance) instance = std::shared_ptr<RatingPrompt>(new RatingPrompt());
    return *instance;
}

void RatingPrompt::resetSharedStateForTesting() {
    platform::WorkQueue::background().waitUntilIdle();
    std::shared_ptr<RatingPrompt> previous;
    {
        std::lock_guard lock(sharedMutex());
        previous = std::move(sharedSlot());
    }
    // Outside the lock: its event queue finishes what it holds first.
    previous.reset();
    settings().restoreDefaults();
}

// --- Class-level settings. ---

void RatingPrompt::setAppId(std::string appId) { settings().setAppId(std::move(appId)); }
void RatingPrompt::setDaysUntilPrompt(double days) { settings().daysUntilPrompt = days; }
void RatingPrompt::setUsesUntilPrompt(int64_t uses) { settings().usesUntilPrompt = uses; }
void RatingPrompt::setSignificantEventsUntilPrompt(int64_t events) { settings().significantEventsUntilPrompt = events; }
void RatingPrompt::setTimeBeforeReminding(double days) { settings().timeBeforeReminding = days; }
void RatingPrompt::setDebug(bool debug) { settings().debug = debug; }
void RatingPrompt::setUsesAnimation(bool animation) { settings().usesAnimation = animation; }
void RatingPrompt::setModalOpen(bool open) { settings().modalOpen = open; }
void RatingPrompt::setAlwaysUseMainBundle(bool alwaysUseMainBundle) {
    settings().alwaysUseMainBundle = alwaysUseMainBundle;
}
void RatingPrompt::setStatusBarStyle(int64_t) {}

std::string RatingPrompt::appId() { return settings().appId(); }
double RatingPrompt::daysUntilPrompt() { return settings().daysUntilPrompt; }
int64_t RatingPrompt::usesUntilPrompt() { return settings().usesUntilPrompt; }
int64_t RatingPrompt::significantEventsUntilPrompt() { return settings().significantEventsUntilPrompt; }
double RatingPrompt::timeBeforeReminding() { return settings().timeBeforeReminding; }
bool RatingPrompt::modalOpen() { return settings().modalOpen; }

// --- The shared instance's properties. ---

void RatingPrompt::setOpenInAppStore(bool openInAppStore) {
    sharedInstance().reviewRoute_.setOpenInAppStore(openInAppStore);
}

void RatingPrompt::setDelegate(std::weak_ptr<RatingPromptDelegate> delegate) {
    RatingPrompt& shared = sharedInstance();
    std::lock_guard lock(shared.delegateMutex_);
    shared.delegate_ = std::move(delegate);
}

std::shared_ptr<RatingPromptDelegate> RatingPrompt::delegate() const {
    std::lock_guard lock(delegateMutex_);
    return delegate_.lock();
}

void RatingPrompt::setCustomAlertTitle(std::string title) {
    sharedInstance().alert_.texts().setCustomTitle(std::move(title));
}
void RatingPrompt::setCustomAlertMessage(std::string message) {
    sharedInstance().alert_.texts().setCustomMessage(std::move(message));
}
void RatingPrompt::setCustomAlertCancelButtonTitle(std::string title) {
    sharedInstance().alert_.texts().setCustomCancelTitle(std::move(title));
}
void RatingPrompt::setCustomAlertRateButtonTitle(std::string title) {
    sharedInstance().alert_.texts().setCustomRateTitle(std::move(title));
}
void RatingPrompt::setCustomAlertRateLaterButtonTitle(std::string title) {
    sharedInstance().alert_.texts().setCustomRateLaterTitle(std::move(title));
}

std::shared_ptr<const platform::Bundle> RatingPrompt::bundle() { return AlertTexts::bundle(settings().alwaysUseMainBundle); }
platform::ViewController* RatingPrompt::getRootViewController() { return presentingScreen(); }
platform::ViewController* RatingPrompt::iterateSubViewsForViewController(const platform::View& view) {
    return topMostScreenIn(view);
}
platform::ViewController* RatingPrompt::topMostViewController(platform::ViewController* controller) {
    return topMostScreenOver(controller);
}

// --- Entry points. ---

void RatingPrompt::appLaunched(bool canPromptForRating) {
    platform::WorkQueue::background().async([canPromptForRating] {
        // Runs on the shared background queue.
        RatingPrompt& shared = sharedInstance();
        if (settings().debug) {
            shared.showRatingAlertOnMainThread();
        } else {
            shared.incrementAndRate(canPromptForRating);
        }
    });
}

void RatingPrompt::appLaunched() { appLaunched(true); }

void RatingPrompt::appEnteredForeground(bool canPromptForRating) {
    RatingPrompt& shared = sharedInstance();
    // The queue is stopped before the instance goes, so `shared` outlives the work.
    shared.eventQueue().async([&shared, canPromptForRating] { shared.incrementAndRate(canPromptForRating); });
}

void RatingPrompt::userDidSignificantEvent(bool canPromptForRating) {
    RatingPrompt& shared = sharedInstance();
    shared.eventQueue().async(
        [&shared, canPromptForRating] { shared.incrementSignificantEventAndRate(canPromptForRating); });
}

void RatingPrompt::tryToShowPrompt() { sharedInstance().showPromptWithChecks(true, true); }

void RatingPrompt::showPrompt() { tryToShowPrompt(); }

void RatingPrompt::forceShowPrompt(bool displayRateLaterButton) {
    sharedInstance().showPromptWithChecks(false, displayRateLaterButton);
}

void RatingPrompt::appWillResignActive() {
    if (settings().debug) platform::NSLog("RATING PROMPT appWillResignActive");
    sharedInstance().hideRatingAlert();
}

void RatingPrompt::rateApp() {
    RatingPrompt& shared = sharedInstance();
    // First, so that whichever route follows, this version asks no more.
    shared.state_.recordRatedCurrentVersion();
    shared.reviewRoute_.open(shared.weak_from_this());
}

void RatingPrompt::closeModal() { sharedInstance().reviewRoute_.closeProductSheet(); }

void RatingPrompt::productViewControllerDidFinish(platform::StoreProductViewController&) { closeModal(); }

// --- Deciding. ---

bool RatingPrompt::ratingAlertIsAppropriate() {
    return connectedToNetwork() && !userHasDeclinedToRate() && !isRatingAlertVisible() &&
           !userHasRatedCurrentVersion();
}

void RatingPrompt::incrementAndRate(bool canPromptForRating) {
    incrementUseCount();
    rateIfDue(canPromptForRating);
}

void RatingPrompt::incrementSignificantEventAndRate(bool canPromptForRating) {
    incrementSignificantEventCount();
    rateIfDue(canPromptForRating);
}

void RatingPrompt::rateIfDue(bool canPromptForRating) {
    if (canPromptForRating && ratingConditionsHaveBeenMet() && ratingAlertIsAppropriate()) {
        showRatingAlertOnMainThread();
    }
}

void RatingPrompt::showRatingAlertOnMainThread() {
    platform::RunLoop::main()->dispatchAsync([self = shared_from_this()] { self->showRatingAlert(); });
}

void RatingPrompt::showPromptWithChecks(bool withChecks, bool displayRateLaterButton) {
    if (withChecks && !ratingAlertIsAppropriate()) return;
    showRatingAlert(displayRateLaterButton);
}

void RatingPrompt::showRatingAlert(bool displayRateLaterButton) {
    if (const auto listener = delegate();
        listener && listener->ratingPromptShouldDisplayAlert && !listener->ratingPromptShouldDisplayAlert(*this)) {
        return;
    }
    const platform::PlatformCapabilities offered = platform::capabilities();
    if (offered.storeReviewRequest) {
        rateApp();
    } else {
        alert_.show(offered.alertController ? PromptAlert::Kind::Modern : PromptAlert::Kind::Legacy,
                    displayRateLaterButton, weak_from_this());
    }
    tellDelegate(&RatingPromptDelegate::ratingPromptDidDisplayAlert, *this);
}

// --- Answering. ---

void RatingPrompt::alertViewDidDismissWithButtonIndex(int64_t buttonIndex) {
    switch (buttonIndex) {
        case kCancelButtonIndex:
            state_.recordDeclinedToRate();
            tellDelegate(&RatingPromptDelegate::ratingPromptDidDeclineToRate, *this);
            break;
        case kRateButtonIndex:
            rateApp();
            tellDelegate(&RatingPromptDelegate::ratingPromptDidOptToRate, *this);
            break;
        case kRateLaterButtonIndex:
            state_.recordReminderRequest();
            tellDelegate(&RatingPromptDelegate::ratingPromptDidOptToRemindLater, *this);
            break;
        default:
            break;
    }
    alert_.forget();
}

void RatingPrompt::alertViewDidDismissWithButtonIndex(platform::AlertView&, int64_t buttonIndex) {
    alertViewDidDismissWithButtonIndex(buttonIndex);
}

}  // namespace rating
