#pragma once
// The desktop's transport for one-shot web requests: HTTP/1.1 over a POSIX
// socket, each request on a detached thread of its own, given up when the
// request's time-out runs out. Only plain "http://" addresses; the answer's
// status line is read and the rest discarded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/net/UrlSession.h"

namespace platform {

class SocketHttpTransport : public HttpTransport {
public:
    void start(std::shared_ptr<UrlSessionDataTask> task) override;
};

struct HttpAddress {
    std::string host;
    uint16_t port = 80;
    std::string path = "/";
    bool operator==(const HttpAddress&) const = default;
};

// "http://host[:port][/path]" (an IPv6 host in brackets); none for anything else.
std::optional<HttpAddress> parseHttpAddress(std::string_view url);

// Runs on the calling thread: GETs `url` and answers how it ended, within
// `timeoutSeconds` once the host name is resolved.
UrlResponse performHttpGet(const std::string& url, UrlRequestCachePolicy cachePolicy, double timeoutSeconds);

}  // namespace platform
