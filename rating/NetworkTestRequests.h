#pragma once
// The network test's one-shot GET. The rating prompt starts one with every
// network test and never reads the answer. Once the tuner has heard all five
// pitches it asks for the prompt on every loud tick, so a request per test
// would be hundreds a second to someone else's server: a new one is started
// only when none is in flight and the last was started a minute ago or more.

#include <memory>
#include <mutex>
#include <string>

#include "platform/net/UrlSession.h"

namespace rating {

// The address of the network test: $PALLQA_NETWORK_TEST_URL when set, else
// the bundle's "PallqaNetworkTestURL".
std::string networkTestAddress();

class NetworkTestRequests {
public:
    static constexpr double kMinimumInterval = 60.0;  // seconds between two starts
    static constexpr double kRequestTimeout = 20.0;   // seconds before a request gives up

    // Any thread. Starts a GET of `url` at `now` (seconds) unless the limit
    // above forbids it or `url` is empty; answers the task that stands for this
    // test: the new one, else the last one (none before the first start).
    std::shared_ptr<platform::UrlSessionDataTask> start(const std::string& url, double now);

private:
    std::mutex mutex_;
    std::shared_ptr<platform::UrlSessionDataTask> last_;
    double lastStart_ = 0.0;
};

}  // namespace rating
