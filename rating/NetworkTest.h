#pragma once
// The network test the rating prompt makes before it shows itself: whether
// the network is reachable at all, from the reachability flags of the
// all-zeros address, and a one-shot GET that it starts and never reads.
//
// Once the tuner has heard all five pitches it asks for the prompt on every
// loud tick, so a request per test would be hundreds a second to someone
// else's server: a new one is started only when none is in flight and the
// last was started a minute ago or more.
//
// The request goes to $PALLQA_NETWORK_TEST_URL when set, else to the main
// bundle's "PallqaNetworkTestURL".

#include <memory>
#include <mutex>
#include <string>

#include "platform/net/UrlSession.h"

namespace rating {

class NetworkTest {
public:
    static constexpr double kMinimumInterval = 60.0;  // seconds between two starts
    static constexpr double kRequestTimeout = 20.0;   // seconds before a request gives up

    // Any thread, synchronous. Whether the network is reachable; unreadable
    // flags are logged and answer false, and start no request.
    bool connectedToNetwork();

private:
    // Starts a GET of `url` at `now` (seconds) unless the limit above forbids
    // it or `url` is empty; answers the task that stands for this test: the
    // new one, else the last one (none before the first start).
    std::shared_ptr<platform::UrlSessionDataTask> startRequest(const std::string& url, double now);

    std::mutex mutex_;  // guards the last request
    std::shared_ptr<platform::UrlSessionDataTask> last_;
    double lastStart_ = 0.0;
};

}  // namespace rating
