#include "rating/RatingState.h"

#include <string>

#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "rating/RatingPromptKeys.h"

namespace rating {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// The information dictionary's entry for the build version.
constexpr const char* kBundleVersionKey = "CFBundleVersion";

}  // namespace

void RatingState::incrementUseCount() {
    incrementCount(kRatingPromptUseCount, "RATING PROMPT Use count: %@",
                   {platform::RunLoop::main()->date(), /*useCount=*/1, /*significantEventCount=*/0});
}

void RatingState::incrementSignificantEventCount() {
    // A new version noticed by an event has no use yet: the next counted use
    // sets the first-use date.
    incrementCount(kRatingPromptSignificantEventCount, "RATING PROMPT Significant event count: %@",
                   {0.0, /*useCount=*/0, /*significantEventCount=*/1});
}

void RatingState::incrementCount(const char* counterKey, const char* debugFormat, const VersionStart& start) {
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    const std::string version = platform::Bundle::mainBundle()->infoValue(kBundleVersionKey);
    std::string trackingVersion = defaults->stringForKey(kRatingPromptCurrentVersion);
    if (trackingVersion.empty()) {
        trackingVersion = version;
        defaults->setObject(version, kRatingPromptCurrentVersion);
    }
    if (settings_.debug) platform::NSLog("RATING PROMPT Tracking version: %@", trackingVersion);

    if (trackingVersion == version) {
        if (defaults->doubleForKey(kRatingPromptFirstUseDate) == 0.0) {
            defaults->setDouble(platform::RunLoop::main()->date(), kRatingPromptFirstUseDate);
        }
        // A count at the largest number stays there, as "numberOfRuns" does.
        const int64_t count = defaults->incrementIntegerForKey(counterKey);
        if (settings_.debug) platform::NSLog(debugFormat, count);
    } else {
        defaults->setObject(version, kRatingPromptCurrentVersion);
        defaults->setDouble(start.firstUseDate, kRatingPromptFirstUseDate);
        defaults->setInteger(start.useCount, kRatingPromptUseCount);
        defaults->setInteger(start.significantEventCount, kRatingPromptSignificantEventCount);
        defaults->setBool(false, kRatingPromptRatedCurrentVersion);
        defaults->setBool(false, kRatingPromptDeclinedToRate);
        defaults->setDouble(0.0, kRatingPromptReminderRequestDate);
    }
    defaults->synchronize();
}

bool RatingState::ratingConditionsHaveBeenMet() const {
    if (settings_.debug) return true;
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    // Stored dates are wall-clock dates, even while the screen runs on a fast clock.
    const double now = platform::RunLoop::main()->date();
    // An unset date reads as 0.0, that is 1970, which is long enough ago.
    if (now - defaults->doubleForKey(kRatingPromptFirstUseDate) < settings_.daysUntilPrompt * kSecondsPerDay) {
        return false;
    }
    if (defaults->integerForKey(kRatingPromptUseCount) < settings_.usesUntilPrompt) return false;
    if (defaults->integerForKey(kRatingPromptSignificantEventCount) < settings_.significantEventsUntilPrompt) {
        return false;
    }
    const double sinceReminder = now - defaults->doubleForKey(kRatingPromptReminderRequestDate);
    return sinceReminder >= settings_.timeBeforeReminding * kSecondsPerDay;
}

bool RatingState::userHasDeclinedToRate() const {
    return platform::UserDefaults::standardUserDefaults()->boolForKey(kRatingPromptDeclinedToRate);
}

bool RatingState::userHasRatedCurrentVersion() const {
    return platform::UserDefaults::standardUserDefaults()->boolForKey(kRatingPromptRatedCurrentVersion);
}

void RatingState::recordDeclinedToRate() {
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->setBool(true, kRatingPromptDeclinedToRate);
    defaults->synchronize();
}

void RatingState::recordRatedCurrentVersion() {
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->setBool(true, kRatingPromptRatedCurrentVersion);
    defaults->synchronize();
}

void RatingState::recordReminderRequest() {
    const auto defaults = platform::UserDefaults::standardUserDefaults();
    defaults->setDouble(platform::RunLoop::main()->date(), kRatingPromptReminderRequestDate);
    defaults->synchronize();
}

}  // namespace rating
