#include "rating/NetworkTest.h"

#include <netinet/in.h>

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/net/Reachability.h"

namespace rating {
namespace {

std::string networkTestAddress() {
    if (const char* address = std::getenv("PALLQA_NETWORK_TEST_URL"); address && *address) return address;
    return platform::Bundle::mainBundle()->infoValue("PallqaNetworkTestURL");
}

}  // namespace

bool NetworkTest::connectedToNetwork() {
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

    const auto request = startRequest(networkTestAddress(), platform::RunLoop::main()->now());
    const bool suspended = request && request->state() == platform::UrlSessionTaskState::Suspended;
    return ((isReachable && !needsConnection) || transient) && !suspended;
}

std::shared_ptr<platform::UrlSessionDataTask> NetworkTest::startRequest(const std::string& url, double now) {
    std::lock_guard lock(mutex_);
    if (url.empty()) return last_;
    if (last_) {
        const bool inFlight = last_->state() == platform::UrlSessionTaskState::Running;
        if (inFlight || now - lastStart_ < kMinimumInterval) return last_;
    }
    auto configuration = platform::UrlSessionConfiguration::ephemeralSessionConfiguration();
    configuration.setRequestCachePolicy(platform::UrlRequestCachePolicy::ReloadIgnoringLocalCacheData);
    configuration.setTimeoutIntervalForRequest(kRequestTimeout);
    last_ = platform::UrlSession::sessionWithConfiguration(configuration)->dataTaskWithURL(url);
    lastStart_ = now;
    last_->resume();
    return last_;
}

}  // namespace rating
