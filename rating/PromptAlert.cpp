#include "rating/PromptAlert.h"

#include <utility>

#include "platform/core/Log.h"
#include "rating/PresentingScreen.h"

namespace rating {
namespace {

// The modern alert's answer: the button wearing `title` now. The cancel title
// is compared first, so a rate title equal to it counts as cancel.
int64_t buttonIndexForTitle(const AlertTexts& texts, const std::string& title) {
    if (title == texts.cancelTitle()) return PromptAlert::kCancelButtonIndex;
    if (title == texts.rateTitle()) return PromptAlert::kRateButtonIndex;
    if (title == texts.rateLaterTitle()) return PromptAlert::kRateLaterButtonIndex;
    return -1;
}

}  // namespace

PromptAlert::PromptAlert(const PromptSettings& settings)
    : settings_(settings), texts_(std::make_shared<AlertTexts>(settings)) {}

void PromptAlert::show(Kind kind, bool displayRateLaterButton, const std::weak_ptr<PromptAlertListener>& listener) {
    std::vector<std::string> titles{texts_->rateTitle()};
    if (displayRateLaterButton) titles.push_back(texts_->rateLaterTitle());
    if (kind == Kind::Modern) {
        showAlertController(std::move(titles), listener);
    } else {
        showAlertView(titles, listener);
    }
}

void PromptAlert::showAlertController(std::vector<std::string> titles,
                                      const std::weak_ptr<PromptAlertListener>& listener) {
    titles.push_back(texts_->cancelTitle());
    auto alert = std::make_shared<platform::AlertController>(texts_->title(), texts_->message(),
                                                             platform::AlertControllerStyle::Alert);
    // The alert is remembered here; its actions must keep neither the listener nor the texts alive.
    const std::weak_ptr<const AlertTexts> texts = texts_;
    for (size_t i = 0; i < titles.size(); ++i) {
        const bool last = i + 1 == titles.size();
        alert->addAction(platform::AlertAction(
            titles[i], last ? platform::AlertActionStyle::Cancel : platform::AlertActionStyle::Default,
            [listener, texts](const platform::AlertAction& action) {
                const auto answerTo = listener.lock();
                const auto current = texts.lock();
                if (!answerTo || !current) return;
                answerTo->alertViewDidDismissWithButtonIndex(buttonIndexForTitle(*current, action.title()));
            }));
    }
    if (platform::ViewController* screen = presentingScreen()) screen->presentViewController(alert, true);
    remember(alert);
}

void PromptAlert::showAlertView(const std::vector<std::string>& titles,
                                const std::weak_ptr<PromptAlertListener>& listener) {
    auto alert = std::make_shared<platform::AlertView>(texts_->title(), texts_->message(), listener,
                                                       texts_->cancelTitle());
    for (const auto& title : titles) alert->addButtonWithTitle(title);
    remember(alert);
    alert->show();
}

bool PromptAlert::isVisible() const {
    const RatingAlert alert = remembered();
    if (const auto* controller = std::get_if<std::shared_ptr<platform::AlertController>>(&alert)) {
        return (*controller)->isVisible();
    }
    if (const auto* view = std::get_if<std::shared_ptr<platform::AlertView>>(&alert)) return (*view)->isVisible();
    return false;
}

void PromptAlert::hide() {
    if (!isVisible()) return;
    if (settings_.debug) platform::NSLog("RATING PROMPT Hiding Alert");
    const RatingAlert alert = remembered();
    if (const auto* view = std::get_if<std::shared_ptr<platform::AlertView>>(&alert)) {
        // Reports -1 to the listener, whose answer to it only forgets the alert.
        (*view)->dismissWithClickedButtonIndex(-1, false);
    } else if (const auto* controller = std::get_if<std::shared_ptr<platform::AlertController>>(&alert)) {
        // No action runs, and the alert stays remembered.
        (*controller)->dismissViewController(false);
    }
}

RatingAlert PromptAlert::remembered() const {
    std::lock_guard lock(mutex_);
    return alert_;
}

void PromptAlert::forget() { remember({}); }

void PromptAlert::remember(RatingAlert alert) {
    RatingAlert previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::exchange(alert_, std::move(alert));
    }
    // The previous alert goes outside the lock: its views may report their going.
}

}  // namespace rating
