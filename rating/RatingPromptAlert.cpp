// The entry points, the appropriateness test, and the alert: showing it,
// hiding it and handling its buttons.

#include "platform/ui/Capabilities.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "rating/RatingPrompt.h"

namespace rating {

void RatingPrompt::appLaunched(bool canPromptForRating) {
    platform::WorkQueue::background().async([canPromptForRating] {
        // Runs on the shared background queue.
        RatingPrompt& shared = sharedInstance();
        if (debug()) {
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
    if (debug()) platform::NSLog("RATING PROMPT appWillResignActive");
    sharedInstance().hideRatingAlert();
}

bool RatingPrompt::ratingAlertIsAppropriate() {
    return connectedToNetwork() && !userHasDeclinedToRate() && !isRatingAlertVisible() &&
           !userHasRatedCurrentVersion();
}

bool RatingPrompt::isRatingAlertVisible() const {
    const RatingAlert alert = ratingAlert();
    if (const auto* controller = std::get_if<std::shared_ptr<platform::AlertController>>(&alert)) {
        return (*controller)->isVisible();
    }
    if (const auto* view = std::get_if<std::shared_ptr<platform::AlertView>>(&alert)) return (*view)->isVisible();
    return false;
}

void RatingPrompt::incrementAndRate(bool canPromptForRating) {
    incrementUseCount();
    if (canPromptForRating && ratingConditionsHaveBeenMet() && ratingAlertIsAppropriate()) {
        showRatingAlertOnMainThread();
    }
}

void RatingPrompt::incrementSignificantEventAndRate(bool canPromptForRating) {
    incrementSignificantEventCount();
    if (canPromptForRating && ratingConditionsHaveBeenMet() && ratingAlertIsAppropriate()) {
        showRatingAlertOnMainThread();
    }
}

void RatingPrompt::showRatingAlertOnMainThread() {
    platform::RunLoop::main().dispatchAsync([self = shared_from_this()] { self->showRatingAlert(); });
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
        std::vector<std::string> titles{alertRateTitle()};
        if (displayRateLaterButton) titles.push_back(alertRateLaterTitle());
        if (offered.alertController) {
            showAlertController(std::move(titles));
        } else {
            showAlertView(titles);
        }
    }
    tellDelegate(&RatingPromptDelegate::ratingPromptDidDisplayAlert, *this);
}

void RatingPrompt::showAlertController(std::vector<std::string> titles) {
    titles.push_back(alertCancelTitle());
    auto alert = std::make_shared<platform::AlertController>(alertTitle(), alertMessage(),
                                                             platform::AlertControllerStyle::Alert);
    // The alert belongs to this instance; its actions must not keep it alive.
    const std::weak_ptr<RatingPrompt> weakSelf = weak_from_this();
    for (size_t i = 0; i < titles.size(); ++i) {
        const bool last = i + 1 == titles.size();
        alert->addAction(platform::AlertAction(
            titles[i], last ? platform::AlertActionStyle::Cancel : platform::AlertActionStyle::Default,
            [weakSelf](const platform::AlertAction& action) {
                if (const auto self = weakSelf.lock()) {
                    self->alertViewDidDismissWithButtonIndex(self->buttonIndexForTitle(action.title()));
                }
            }));
    }
    if (platform::ViewController* screen = getRootViewController()) screen->presentViewController(alert, true);
    setRatingAlert(alert);
}

void RatingPrompt::showAlertView(const std::vector<std::string>& titles) {
    auto alert = std::make_shared<platform::AlertView>(alertTitle(), alertMessage(), weak_from_this(),
                                                       alertCancelTitle());
    for (const auto& title : titles) alert->addButtonWithTitle(title);
    setRatingAlert(alert);
    alert->show();
}

// The cancel title is compared first, so a rate title equal to it counts as cancel.
int64_t RatingPrompt::buttonIndexForTitle(const std::string& title) const {
    if (title == alertCancelTitle()) return kCancelButtonIndex;
    if (title == alertRateTitle()) return kRateButtonIndex;
    if (title == alertRateLaterTitle()) return kRateLaterButtonIndex;
    return -1;
}

void RatingPrompt::hideRatingAlert() {
    if (!isRatingAlertVisible()) return;
    if (debug()) platform::NSLog("RATING PROMPT Hiding Alert");
    const RatingAlert alert = ratingAlert();
    if (const auto* view = std::get_if<std::shared_ptr<platform::AlertView>>(&alert)) {
        // Reports -1, which only forgets the alert.
        (*view)->dismissWithClickedButtonIndex(-1, false);
    } else if (const auto* controller = std::get_if<std::shared_ptr<platform::AlertController>>(&alert)) {
        // No action runs, and the alert stays remembered.
        (*controller)->dismissViewController(false);
    }
}

void RatingPrompt::alertViewDidDismissWithButtonIndex(int64_t buttonIndex) {
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    switch (buttonIndex) {
        case kCancelButtonIndex:
            defaults.setBool(true, kRatingPromptDeclinedToRate);
            defaults.synchronize();
            tellDelegate(&RatingPromptDelegate::ratingPromptDidDeclineToRate, *this);
            break;
        case kRateButtonIndex:
            rateApp();
            tellDelegate(&RatingPromptDelegate::ratingPromptDidOptToRate, *this);
            break;
        case kRateLaterButtonIndex:
            defaults.setDouble(platform::RunLoop::main().date(), kRatingPromptReminderRequestDate);
            defaults.synchronize();
            tellDelegate(&RatingPromptDelegate::ratingPromptDidOptToRemindLater, *this);
            break;
        default:
            break;
    }
    setRatingAlert({});
}

void RatingPrompt::alertViewDidDismissWithButtonIndex(platform::AlertView&, int64_t buttonIndex) {
    alertViewDidDismissWithButtonIndex(buttonIndex);
}

}  // namespace rating
