#pragma once
// The rating prompt's own alert, for platforms without their own review
// request: the rate button, the remind-later button when asked for, and the
// cancel button. It is made from the texts on each showing, presented on the
// screen found by PresentingScreen.h, remembered until its answer has been
// handled, and hidden when the application resigns active.
//
// The answer goes one way, to the listener: the legacy alert reports its own
// button index, the modern one the index of the button whose title was
// tapped. What an answer does is the listener's business.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

#include "platform/ui/Alert.h"
#include "rating/AlertTexts.h"
#include "rating/PromptSettings.h"

namespace rating {

// The alert last shown: a modern alert controller or a legacy alert view.
using RatingAlert = std::variant<std::monostate, std::shared_ptr<platform::AlertController>,
                                 std::shared_ptr<platform::AlertView>>;

// Hears the button chosen: the legacy alert as its delegate, the modern one
// through alertViewDidDismissWithButtonIndex(int64_t).
class PromptAlertListener : public platform::AlertViewDelegate {
public:
    // Main thread. One of PromptAlert's k...ButtonIndex, or -1 for none of them.
    virtual void alertViewDidDismissWithButtonIndex(int64_t buttonIndex) = 0;
    using platform::AlertViewDelegate::alertViewDidDismissWithButtonIndex;
};

class PromptAlert {
public:
    // The buttons' indexes, as the alert reports them.
    static constexpr int64_t kCancelButtonIndex = 0;
    static constexpr int64_t kRateButtonIndex = 1;
    static constexpr int64_t kRateLaterButtonIndex = 2;

    enum class Kind { Modern, Legacy };

    // The settings (debug mode, which bundle) must outlive the alert.
    explicit PromptAlert(const PromptSettings& settings);

    AlertTexts& texts() { return *texts_; }
    const AlertTexts& texts() const { return *texts_; }

    // Main thread. Makes an alert of `kind`, shows it and remembers it. The
    // listener is not owned; an answer after it is gone is dropped.
    void show(Kind kind, bool displayRateLaterButton, const std::weak_ptr<PromptAlertListener>& listener);
    // Any thread: the remembered alert is on screen.
    bool isVisible() const;
    // Main thread. Hides a visible alert without answering: the legacy alert
    // reports -1; the modern one runs no action and stays remembered.
    void hide();

    // Any thread.
    RatingAlert remembered() const;
    void forget();

private:
    void showAlertController(std::vector<std::string> titles, const std::weak_ptr<PromptAlertListener>& listener);
    void showAlertView(const std::vector<std::string>& titles, const std::weak_ptr<PromptAlertListener>& listener);
    void remember(RatingAlert alert);

    const PromptSettings& settings_;
    // Shared with the modern alert's actions, which read the titles when tapped.
    std::shared_ptr<AlertTexts> texts_;
    mutable std::mutex mutex_;  // guards the remembered alert
    RatingAlert alert_;
};

}  // namespace rating
