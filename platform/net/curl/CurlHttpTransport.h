#pragma once
// The desktop's transport for one-shot web requests: libcurl, each request on
// a detached thread of its own, given up when the request's time-out runs out.
// "http://" and "https://" addresses only, through the user's proxy settings
// (http_proxy, https_proxy, no_proxy, ...); the answer's status is read and
// its body discarded. An address that is not one (control characters or
// spaces in it, another scheme, no host) is never sent: one log line, and the
// task completes with the reason.

#include <optional>
#include <string>

#include "platform/net/UrlSession.h"

namespace platform::net::curl {

class CurlHttpTransport : public HttpTransport {
public:
    void start(std::shared_ptr<UrlSessionDataTask> task) override;
};

// Why `url` is not an http(s) address to send, or nothing when it is one.
std::optional<std::string> invalidAddressReason(const std::string& url);

// Runs on the calling thread: GETs `url` and answers how it ended, within
// `timeoutSeconds` ("timed out" when they run out).
UrlResponse performCurlGet(const std::string& url, UrlRequestCachePolicy cachePolicy, double timeoutSeconds);

// The transport module's entry point, by the name the desktop set-up looks up
// when it loads the module: a new CurlHttpTransport, handed over.
extern "C" HttpTransport* pallqaMakeCurlTransport();
inline constexpr char kMakeCurlTransportEntry[] = "pallqaMakeCurlTransport";

}  // namespace platform::net::curl
