#pragma once
// The rating prompt alert's five texts: the custom text when one is set, else
// the localised default from the table "RatingPromptLocalizable", with the
// application's name in the title, the message and the rate button. Every
// text is made afresh on each call, so a changed custom text or language
// shows at once.

#include <memory>
#include <mutex>
#include <string>

#include "platform/core/Bundle.h"
#include "rating/PromptSettings.h"

namespace rating {

class AlertTexts {
public:
    // The settings (which bundle to read) must outlive the texts.
    explicit AlertTexts(const PromptSettings& settings) : settings_(settings) {}

    // The bundle the defaults come from: the main bundle when
    // `alwaysUseMainBundle`, else "RatingPrompt.bundle" inside it when there is one.
    static std::shared_ptr<const platform::Bundle> bundle(bool alwaysUseMainBundle);

    // Any thread; an empty text means the default.
    void setCustomTitle(std::string title);
    void setCustomMessage(std::string message);
    void setCustomCancelTitle(std::string title);
    void setCustomRateTitle(std::string title);
    void setCustomRateLaterTitle(std::string title);

    // Main thread.
    std::string title() const;
    std::string message() const;
    std::string cancelTitle() const;
    std::string rateTitle() const;
    std::string rateLaterTitle() const;

private:
    // The custom texts; an empty one is not set.
    struct Custom {
        std::string title;
        std::string message;
        std::string cancelTitle;
        std::string rateTitle;
        std::string rateLaterTitle;
    };
    void setCustom(std::string Custom::*field, std::string text);
    std::string text(std::string Custom::*custom, const char* key, bool withName) const;

    const PromptSettings& settings_;
    mutable std::mutex mutex_;  // guards the custom texts
    Custom custom_;
};

}  // namespace rating
