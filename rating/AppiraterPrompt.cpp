// The entry points, the appropriateness test, and the alert: showing it,
// hiding it and handling its buttons.

#include "platform/Capabilities.h"
#include "platform/Log.h"
#include "platform/RunLoop.h"
#include "platform/UserDefaults.h"
#include "rating/Appirater.h"

namespace rating {

void Appirater::appLaunched(bool canPromptForRating) {
    platform::WorkQueue::background().async([canPromptForRating] {
        // Runs on the shared background queue.
        Appirater& shared = sharedInstance();
        if (debug()) {
            shared.showRatingAlertOnMainThread();
        } else {
            shared.incrementAndRate(canPromptForRating);
        }
    });
}

void Appirater::appLaunched() { appLaunched(true); }

void Appirater::appEnteredForeground(bool canPromptForRating) {
    Appirater& shared = sharedInstance();
    // The queue is stopped before the instance goes, so `shared` outlives the work.
    shared.eventQueue().async([&shared, canPromptForRating] { shared.incrementAndRate(canPromptForRating); });
}

void Appirater::userDidSignificantEvent(bool canPromptForRating) {
    Appirater& shared = sharedInstance();
    shared.eventQueue().async(
        [&shared, canPromptForRating] { shared.incrementSignificantEventAndRate(canPromptForRating); });
}

void Appirater::tryToShowPrompt() { sharedInstance().showPromptWithChecks(true, true); }

void Appirater::showPrompt() { tryToShowPrompt(); }

void Appirater::forceShowPrompt(bool displayRateLaterButton) {
    sharedInstance().showPromptWithChecks(false, displayRateLaterButton);
}

void Appirater::appWillResignActive() {
    if (debug()) platform::NSLog("APPIRATER appWillResignActive");
    sharedInstance().hideRatingAlert();
}

bool Appirater::ratingAlertIsAppropriate() {
    return connectedToNetwork() && !userHasDeclinedToRate() && !isRatingAlertVisible() &&
           !userHasRatedCurrentVersion();
}

bool Appirater::isRatingAlertVisible() const {
    const RatingAlert alert = ratingAlert();
    if (const auto* controller = std::get_if<std::shared_ptr<platform::AlertController>>(&alert)) {
        return (*controller)->isVisible();
    }
    if (const auto* view = std::get_if<std::shared_ptr<platform::AlertView>>(&alert)) return (*view)->isVisible();
    return false;
}

void Appirater::incrementAndRate(bool canPromptForRating) {
    incrementUseCount();
    if (canPromptForRating && ratingConditionsHaveBeenMet() && ratingAlertIsAppropriate()) {
        showRatingAlertOnMainThread();
    }
}

void Appirater::incrementSignificantEventAndRate(bool canPromptForRating) {
    incrementSignificantEventCount();
    if (canPromptForRating && ratingConditionsHaveBeenMet() && ratingAlertIsAppropriate()) {
        showRatingAlertOnMainThread();
    }
}

void Appirater::showRatingAlertOnMainThread() {
    platform::RunLoop::main().dispatchAsync([self = shared_from_this()] { self->showRatingAlert(); });
}

void Appirater::showPromptWithChecks(bool withChecks, bool displayRateLaterButton) {
    if (withChecks && !ratingAlertIsAppropriate()) return;
    showRatingAlert(displayRateLaterButton);
}

void Appirater::showRatingAlert(bool displayRateLaterButton) {
    if (const auto listener = delegate();
        listener && listener->appiraterShouldDisplayAlert && !listener->appiraterShouldDisplayAlert(*this)) {
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
    tellDelegate(&AppiraterDelegate::appiraterDidDisplayAlert, *this);
}

void Appirater::showAlertController(std::vector<std::string> titles) {
    titles.push_back(alertCancelTitle());
    auto alert = std::make_shared<platform::AlertController>(alertTitle(), alertMessage(),
                                                             platform::AlertControllerStyle::Alert);
    // The alert belongs to this instance; its actions must not keep it alive.
    const std::weak_ptr<Appirater> weakSelf = weak_from_this();
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

void Appirater::showAlertView(const std::vector<std::string>& titles) {
    auto alert = std::make_shared<platform::AlertView>(alertTitle(), alertMessage(), weak_from_this(),
                                                       alertCancelTitle());
    for (const auto& title : titles) alert->addButtonWithTitle(title);
    setRatingAlert(alert);
    alert->show();
}

// The cancel title is compared first, so a rate title equal to it counts as cancel.
int64_t Appirater::buttonIndexForTitle(const std::string& title) const {
    if (title == alertCancelTitle()) return kCancelButtonIndex;
    if (title == alertRateTitle()) return kRateButtonIndex;
    if (title == alertRateLaterTitle()) return kRateLaterButtonIndex;
    return -1;
}

void Appirater::hideRatingAlert() {
    if (!isRatingAlertVisible()) return;
    if (debug()) platform::NSLog("APPIRATER Hiding Alert");
    const RatingAlert alert = ratingAlert();
    if (const auto* view = std::get_if<std::shared_ptr<platform::AlertView>>(&alert)) {
        // Reports -1, which only forgets the alert.
        (*view)->dismissWithClickedButtonIndex(-1, false);
    } else if (const auto* controller = std::get_if<std::shared_ptr<platform::AlertController>>(&alert)) {
        // No action runs, and the alert stays remembered.
        (*controller)->dismissViewController(false);
    }
}

void Appirater::alertViewDidDismissWithButtonIndex(int64_t buttonIndex) {
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    switch (buttonIndex) {
        case kCancelButtonIndex:
            defaults.setBool(true, kAppiraterDeclinedToRate);
            defaults.synchronize();
            tellDelegate(&AppiraterDelegate::appiraterDidDeclineToRate, *this);
            break;
        case kRateButtonIndex:
            rateApp();
            tellDelegate(&AppiraterDelegate::appiraterDidOptToRate, *this);
            break;
        case kRateLaterButtonIndex:
            defaults.setDouble(platform::RunLoop::main().now(), kAppiraterReminderRequestDate);
            defaults.synchronize();
            tellDelegate(&AppiraterDelegate::appiraterDidOptToRemindLater, *this);
            break;
        default:
            break;
    }
    setRatingAlert({});
}

void Appirater::alertViewDidDismissWithButtonIndex(platform::AlertView&, int64_t buttonIndex) {
    alertViewDidDismissWithButtonIndex(buttonIndex);
}

}  // namespace rating
