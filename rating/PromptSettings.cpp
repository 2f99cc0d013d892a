#include "rating/PromptSettings.h"

#include <utility>

namespace rating {

PromptSettings& PromptSettings::process() {
    static PromptSettings settings;
    return settings;
}

std::string PromptSettings::appId() const {
    std::lock_guard lock(appIdMutex_);
    return appId_;
}

void PromptSettings::setAppId(std::string appId) {
    std::lock_guard lock(appIdMutex_);
    appId_ = std::move(appId);
}

void PromptSettings::restoreDefaults() {
    setAppId({});
    const PromptSettings fresh;
    daysUntilPrompt = fresh.daysUntilPrompt.load();
    usesUntilPrompt = fresh.usesUntilPrompt.load();
    significantEventsUntilPrompt = fresh.significantEventsUntilPrompt.load();
    timeBeforeReminding = fresh.timeBeforeReminding.load();
    debug = fresh.debug.load();
    usesAnimation = fresh.usesAnimation.load();
    modalOpen = fresh.modalOpen.load();
    alwaysUseMainBundle = fresh.alwaysUseMainBundle.load();
}

}  // namespace rating
