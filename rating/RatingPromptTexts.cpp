// The alert's texts: custom ones, else the localised defaults with the
// application's name; and the bundle they come from.

#include <map>
#include <utility>

#include "platform/core/Log.h"
#include "rating/RatingPrompt.h"

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
    const platform::Bundle& main = platform::Bundle::mainBundle();
    // A translation table answers the key itself when it has no entry.
    if (std::string localized = main.localizedString(kDisplayNameKey, "", kLocalizedInfoTable);
        localized != kDisplayNameKey) {
        return localized;
    }
    if (std::string displayName = main.infoValue(kDisplayNameKey); !displayName.empty()) return displayName;
    return main.infoValue(kBundleNameKey);
}

}  // namespace

const platform::Bundle& RatingPrompt::bundle() {
    const platform::Bundle& main = platform::Bundle::mainBundle();
    if (alwaysUseMainBundle()) return main;
    const auto folder = main.pathForResource("RatingPrompt", "bundle");
    if (!folder) return main;
    // Opened once per folder and language, and kept, as the platform keeps bundles.
    static std::mutex mutex;
    static std::map<std::pair<std::filesystem::path, std::string>, std::unique_ptr<const platform::Bundle>> opened;
    std::lock_guard lock(mutex);
    auto& textBundle = opened[{*folder, main.language()}];
    if (!textBundle) textBundle = std::make_unique<const platform::Bundle>(*folder, main.language());
    return *textBundle;
}

std::string RatingPrompt::text(std::string CustomTexts::*custom, const char* key, bool withName) const {
    {
        std::lock_guard lock(mutex_);
        if (!(customTexts_.*custom).empty()) return customTexts_.*custom;
    }
    const std::string localized = bundle().localizedString(key, "", kTable);
    if (!withName) return localized;
    const platform::LogArg name[] = {applicationName()};
    return platform::formatMessage(localized, name);
}

std::string RatingPrompt::alertTitle() const { return text(&CustomTexts::title, kRateKey, true); }
std::string RatingPrompt::alertMessage() const { return text(&CustomTexts::message, kMessageKey, true); }
std::string RatingPrompt::alertCancelTitle() const { return text(&CustomTexts::cancelTitle, kCancelKey, false); }
std::string RatingPrompt::alertRateTitle() const { return text(&CustomTexts::rateTitle, kRateKey, true); }
std::string RatingPrompt::alertRateLaterTitle() const {
    return text(&CustomTexts::rateLaterTitle, kRateLaterKey, false);
}

}  // namespace rating
