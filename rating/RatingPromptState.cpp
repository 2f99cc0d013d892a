// Counting uses and significant events per application version, the
// conditions for asking, and the network test.

#include <netinet/in.h>


#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/net/Reachability.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "rating/RatingPrompt.h"

namespace rating {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// The information dictionary's entry for the build version.
constexpr const char* kBundleVersionKey = "CFBundleVersion";

}  // namespace

void RatingPrompt::incrementUseCount() {
    incrementCount(kRatingPromptUseCount, "RATING PROMPT Use count: %@",
                   {platform::RunLoop::main().date(), /*useCount=*/1, /*significantEventCount=*/0});
}

void RatingPrompt::incrementSignificantEventCount() {
    // A new version noticed by an event has no use yet: the next counted use
    // sets the first-use date.
    incrementCount(kRatingPromptSignificantEventCount, "RATING PROMPT Significant event count: %@",
                   {0.0, /*useCount=*/0, /*significantEventCount=*/1});
}

void RatingPrompt::incrementCount(const char* counterKey, const char* debugFormat, const VersionStart& start) {
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    const std::string version = platform::Bundle::mainBundle().infoValue(kBundleVersionKey);
    std::string trackingVersion = defaults.stringForKey(kRatingPromptCurrentVersion);
    if (trackingVersion.empty()) {
        trackingVersion = version;
        defaults.setObject(version, kRatingPromptCurrentVersion);
    }
    if (debug()) platform::NSLog("RATING PROMPT Tracking version: %@", trackingVersion);

    if (trackingVersion == version) {
        if (defaults.doubleForKey(kRatingPromptFirstUseDate) == 0.0) {
            defaults.setDouble(platform::RunLoop::main().date(), kRatingPromptFirstUseDate);
        }
        // A count at the largest number stays there, as "numberOfRuns" does.
        const int64_t count = defaults.incrementIntegerForKey(counterKey);
        if (debug()) platform::NSLog(debugFormat, count);
    } else {
        defaults.setObject(version, kRatingPromptCurrentVersion);
        defaults.setDouble(start.firstUseDate, kRatingPromptFirstUseDate);
        defaults.setInteger(start.useCount, kRatingPromptUseCount);
        defaults.setInteger(start.significantEventCount, kRatingPromptSignificantEventCount);
        defaults.setBool(false, kRatingPromptRatedCurrentVersion);
        defaults.setBool(false, kRatingPromptDeclinedToRate);
        defaults.setDouble(0.0, kRatingPromptReminderRequestDate);
    }
    defaults.synchronize();
}

bool RatingPrompt::ratingConditionsHaveBeenMet() const {
    if (debug()) return true;
    const auto& defaults = platform::UserDefaults::standardUserDefaults();
    // Stored dates are wall-clock dates, even while the screen runs on a fast clock.
    const double now = platform::RunLoop::main().date();
    // An unset date reads as 0.0, that is 1970, which is long enough ago.
    if (now - defaults.doubleForKey(kRatingPromptFirstUseDate) < daysUntilPrompt() * kSecondsPerDay) return false;
    if (defaults.integerForKey(kRatingPromptUseCount) < usesUntilPrompt()) return false;
    if (defaults.integerForKey(kRatingPromptSignificantEventCount) < significantEventsUntilPrompt()) return false;
    return now - defaults.doubleForKey(kRatingPromptReminderRequestDate) >= timeBeforeReminding() * kSecondsPerDay;
}

bool RatingPrompt::userHasDeclinedToRate() const {
    return platform::UserDefaults::standardUserDefaults().boolForKey(kRatingPromptDeclinedToRate);
}

bool RatingPrompt::userHasRatedCurrentVersion() const {
    return platform::UserDefaults::standardUserDefaults().boolForKey(kRatingPromptRatedCurrentVersion);
}

bool RatingPrompt::connectedToNetwork() {
    // The all-zeros address: is there any way out at all?
    sockaddr_in zeroAddress{};
    zeroAddress.sin_family = AF_INET;
    const auto reachability = platform::NetworkReachability::createWithAddress(zeroAddress);
    const std::optional<uint32_t> flags = reachability ? reachability->flags() : std::nullopt;
    if (!flags) {
        platform::NSLog("Error. Could not recover network reachability flags");
        return false;
    }
    const bool isReachable = *flags & platform::kReachabilityFlagReachable;
    const bool needsConnection = *flags & platform::kReachabilityFlagConnectionRequired;
    const bool transient = *flags & platform::kReachabilityFlagTransientConnection;

    const auto request = networkTest_.start(networkTestAddress(), platform::RunLoop::main().now());
    const bool suspended = request && request->state() == platform::UrlSessionTaskState::Suspended;
    return ((isReachable && !needsConnection) || transient) && !suspended;
}

}  // namespace rating
