// Counting uses and significant events per application version, the
// conditions for asking, and the network test.

#include <netinet/in.h>

#include "platform/Bundle.h"
#include "platform/Log.h"
#include "platform/Reachability.h"
#include "platform/RunLoop.h"
#include "platform/UserDefaults.h"
#include "rating/Appirater.h"

namespace rating {
namespace {

constexpr double kSecondsPerDay = 86400.0;
// The information dictionary's entry for the build version.
constexpr const char* kBundleVersionKey = "CFBundleVersion";

}  // namespace

void Appirater::incrementUseCount() {
    incrementCount(kAppiraterUseCount, "APPIRATER Use count: %@",
                   {platform::RunLoop::main().now(), /*useCount=*/1, /*significantEventCount=*/0});
}

void Appirater::incrementSignificantEventCount() {
    // A new version noticed by an event has no use yet: the next counted use
    // sets the first-use date.
    incrementCount(kAppiraterSignificantEventCount, "APPIRATER Significant event count: %@",
                   {0.0, /*useCount=*/0, /*significantEventCount=*/1});
}

void Appirater::incrementCount(const char* counterKey, const char* debugFormat, const VersionStart& start) {
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    const std::string version = platform::Bundle::mainBundle().infoValue(kBundleVersionKey);
    std::string trackingVersion = defaults.stringForKey(kAppiraterCurrentVersion);
    if (trackingVersion.empty()) {
        trackingVersion = version;
        defaults.setObject(version, kAppiraterCurrentVersion);
    }
    if (debug()) platform::NSLog("APPIRATER Tracking version: %@", trackingVersion);

    if (trackingVersion == version) {
        if (defaults.doubleForKey(kAppiraterFirstUseDate) == 0.0) {
            defaults.setDouble(platform::RunLoop::main().now(), kAppiraterFirstUseDate);
        }
        const int64_t count = defaults.integerForKey(counterKey) + 1;
        defaults.setInteger(count, counterKey);
        if (debug()) platform::NSLog(debugFormat, count);
    } else {
        defaults.setObject(version, kAppiraterCurrentVersion);
        defaults.setDouble(start.firstUseDate, kAppiraterFirstUseDate);
        defaults.setInteger(start.useCount, kAppiraterUseCount);
        defaults.setInteger(start.significantEventCount, kAppiraterSignificantEventCount);
        defaults.setBool(false, kAppiraterRatedCurrentVersion);
        defaults.setBool(false, kAppiraterDeclinedToRate);
        defaults.setDouble(0.0, kAppiraterReminderRequestDate);
    }
    defaults.synchronize();
}

bool Appirater::ratingConditionsHaveBeenMet() const {
    if (debug()) return true;
    const auto& defaults = platform::UserDefaults::standardUserDefaults();
    const double now = platform::RunLoop::main().now();
    // An unset date reads as 0.0, that is 1970, which is long enough ago.
    if (now - defaults.doubleForKey(kAppiraterFirstUseDate) < daysUntilPrompt() * kSecondsPerDay) return false;
    if (defaults.integerForKey(kAppiraterUseCount) < usesUntilPrompt()) return false;
    if (defaults.integerForKey(kAppiraterSignificantEventCount) < significantEventsUntilPrompt()) return false;
    return now - defaults.doubleForKey(kAppiraterReminderRequestDate) >= timeBeforeReminding() * kSecondsPerDay;
}

bool Appirater::userHasDeclinedToRate() const {
    return platform::UserDefaults::standardUserDefaults().boolForKey(kAppiraterDeclinedToRate);
}

bool Appirater::userHasRatedCurrentVersion() const {
    return platform::UserDefaults::standardUserDefaults().boolForKey(kAppiraterRatedCurrentVersion);
}

bool Appirater::connectedToNetwork() {
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
