#include "rating/AlertTexts.h"

#include <filesystem>
#include <map>
#include <memory>
#include <utility>

#include "platform/core/Log.h"

namespace rating {
namespace {

constexpr const char* kTable = "RatingPromptLocalizable";
// The title and the rate button share one key.
constexpr const char* kRateKey = "Rate %@";
constexpr const char* kMessageKey =
    "If you enjoy using %@, would you mind taking a moment to rate it? It won't take more than a minute. "
    "Thanks for your support!";
constexpr const char* kCancelKey = "No, Thanks";
constexpr const char* kRateLaterKey = "Remind me later";

// The bundle's translated information, as the platform keeps it.
constexpr const char* kLocalizedInfoTable = "InfoPlist";
constexpr const char* kDisplayNameKey = "CFBundleDisplayName";
constexpr const char* kBundleNameKey = "CFBundleName";

// The first of: the translated display name, the display name, the bundle name.
std::string applicationName() {
    const auto main = platform::Bundle::mainBundle();
    // A translation table answers the key itself when it has no entry.
    if (std::string localized = main->localizedString(kDisplayNameKey, "", kLocalizedInfoTable);
        localized != kDisplayNameKey) {
        return localized;
    }
    if (std::string displayName = main->infoValue(kDisplayNameKey); !displayName.empty()) return displayName;
    return main->infoValue(kBundleNameKey);
}

}  // namespace

std::shared_ptr<const platform::Bundle> AlertTexts::bundle(bool alwaysUseMainBundle) {
    const auto main = platform::Bundle::mainBundle();
    if (alwaysUseMainBundle) return main;
    const auto folder = main->pathForResource("RatingPrompt", "bundle");
    if (!folder) return main;
    // Opened once per folder and language, and kept, as the platform keeps bundles.
    static std::mutex mutex;
    static std::map<std::pair<std::filesystem::path, std::string>, std::shared_ptr<const platform::Bundle>> opened;
    std::lock_guard lock(mutex);
    auto& textBundle = opened[{*folder, main->language()}];
    if (!textBundle) textBundle = std::make_shared<const platform::Bundle>(*folder, main->language());
    return textBundle;
}

void AlertTexts::setCustom(std::string Custom::*field, std::string text) {
    std::lock_guard lock(mutex_);
    custom_.*field = std::move(text);
}

void AlertTexts::setCustomTitle(std::string title) { setCustom(&Custom::title, std::move(title)); }
void AlertTexts::setCustomMessage(std::string message) { setCustom(&Custom::message, std::move(message)); }
void AlertTexts::setCustomCancelTitle(std::string title) { setCustom(&Custom::cancelTitle, std::move(title)); }
void AlertTexts::setCustomRateTitle(std::string title) { setCustom(&Custom::rateTitle, std::move(title)); }
void AlertTexts::setCustomRateLaterTitle(std::string title) { setCustom(&Custom::rateLaterTitle, std::move(title)); }

std::string AlertTexts::text(std::string Custom::*custom, const char* key, bool withName) const {
    {
        std::lock_guard lock(mutex_);
        if (!(custom_.*custom).empty()) return custom_.*custom;
    }
    const std::string localized = bundle(settings_.alwaysUseMainBundle)->localizedString(key, "", kTable);
    if (!withName) return localized;
    const platform::LogArg name[] = {applicationName()};
    return platform::formatMessage(localized, name);
}

std::string AlertTexts::title() const { return text(&Custom::title, kRateKey, true); }
std::string AlertTexts::message() const { return text(&Custom::message, kMessageKey, true); }
std::string AlertTexts::cancelTitle() const { return text(&Custom::cancelTitle, kCancelKey, false); }
std::string AlertTexts::rateTitle() const { return text(&Custom::rateTitle, kRateKey, true); }
std::string AlertTexts::rateLaterTitle() const { return text(&Custom::rateLaterTitle, kRateLaterKey, false); }

}  // namespace rating
