#include "rating/NetworkTestRequests.h"

#include <cstdlib>

#include "platform/core/Bundle.h"

namespace rating {

std::string networkTestAddress() {
    if (const char* address = std::getenv("PALLQA_NETWORK_TEST_URL"); address && *address) return address;
    return platform::Bundle::mainBundle().infoValue("PallqaNetworkTestURL");
}

std::shared_ptr<platform::UrlSessionDataTask> NetworkTestRequests::start(const std::string& url, double now) {
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
