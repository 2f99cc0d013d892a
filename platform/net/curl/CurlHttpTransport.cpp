#include "platform/net/curl/CurlHttpTransport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/core/Log.h"

namespace platform::net::curl {
namespace {

// libcurl's global set-up is not thread-safe: once, before the first handle.
void initialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyCleanup {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct UrlCleanup {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct ListCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

// The answer's body is not needed.
size_t discardBody(char*, size_t size, size_t count, void*) { return size * count; }

UrlResponse failure(std::string error) { return {0, std::move(error)}; }

// The address as one line of the log: control characters as \xNN.
std::string printable(const std::string& url) {
    std::string text;
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            text += "\\x";
            text += kHex[byte >> 4];
            text += kHex[byte & 0xf];
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

std::optional<std::string> invalidAddressReason(const std::string& url) {
    if (url.empty()) return "an empty address";
    for (const char c : url) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7f) return "a control character or a space in the address";
    }
    initialiseCurlOnce();
    const std::unique_ptr<CURLU, UrlCleanup> parsed(curl_url());
    if (!parsed) return "out of memory";
    if (const CURLUcode code = curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0); code != CURLUE_OK) {
        return std::string("not an address (") + curl_url_strerror(code) + ")";
    }
    char* scheme = nullptr;
    if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) return "an address without a scheme";
    const std::string schemeText = scheme;
    curl_free(scheme);
    if (schemeText != "http" && schemeText != "https") return "not an http:// or https:// address";
    char* host = nullptr;
    if (curl_url_get(parsed.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK) return "an address without a host";
    const bool noHost = host == nullptr || *host == '\0';
    curl_free(host);
    if (noHost) return "an address without a host";
    return std::nullopt;
}

UrlResponse performCurlGet(const std::string& url, UrlRequestCachePolicy cachePolicy, double timeoutSeconds) {
    if (auto reason = invalidAddressReason(url)) return failure(*reason);
    initialiseCurlOnce();
    const std::unique_ptr<CURL, EasyCleanup> handle(curl_easy_init());
    if (!handle) return failure("could not start the request");
    CURL* easy = handle.get();
    char errorText[CURL_ERROR_SIZE] = {};
    const double seconds = std::isfinite(timeoutSeconds) ? std::clamp(timeoutSeconds, 0.001, 86400.0) : 60.0;
    const auto milliseconds = static_cast<long>(std::ceil(seconds * 1000.0));

    std::unique_ptr<curl_slist, ListCleanup> headers;
    if (cachePolicy == UrlRequestCachePolicy::ReloadIgnoringLocalCacheData) {
        headers.reset(curl_slist_append(nullptr, "Cache-Control: no-cache"));
    }
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, milliseconds);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, milliseconds);
    // Time-outs without signals: requests run on threads of their own.
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, discardBody);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "pallqa-tuner");
    if (headers) curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());

    const CURLcode result = curl_easy_perform(easy);
    if (result == CURLE_OPERATION_TIMEDOUT) return failure("timed out");
    if (result != CURLE_OK) return failure(*errorText ? errorText : curl_easy_strerror(result));
    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    return {static_cast<int>(status), ""};
}

void CurlHttpTransport::start(std::shared_ptr<UrlSessionDataTask> task) {
    if (auto reason = invalidAddressReason(task->url())) {
        NSLog("Not sending a request to %@: %@", printable(task->url()), *reason);
        task->complete(failure(*reason));
        return;
    }
    try {
        std::thread([task] {
            const auto& configuration = task->configuration();
            task->complete(performCurlGet(task->url(), configuration.requestCachePolicy,
                                          configuration.timeoutIntervalForRequest));
        }).detach();
    } catch (const std::system_error& error) {
        task->complete(failure(std::string("could not start the request: ") + error.what()));
    }
}

}  // namespace platform::net::curl
