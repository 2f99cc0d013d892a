#pragma once
// One-shot web requests in the shape a phone program makes them: a session
// made from a configuration hands out data tasks; resuming a task gives it to
// the installed transport, which runs it on a thread of its own and reports
// when it has ended. Nothing waits for it.
//
// The transport installed until a frontend chooses another one records every
// request and sends nothing; the program's main installs the desktop's
// libcurl transport (platform/net/curl).

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

enum class UrlRequestCachePolicy { UseProtocolCachePolicy = 0, ReloadIgnoringLocalCacheData = 1 };

struct UrlSessionConfiguration {
    // No cache or cookies kept beyond the session.
    static UrlSessionConfiguration ephemeralSessionConfiguration() { return {}; }
    void setRequestCachePolicy(UrlRequestCachePolicy policy) { requestCachePolicy = policy; }
    void setTimeoutIntervalForRequest(double seconds) { timeoutIntervalForRequest = seconds; }

    UrlRequestCachePolicy requestCachePolicy = UrlRequestCachePolicy::UseProtocolCachePolicy;
    double timeoutIntervalForRequest = 60.0;
};

enum class UrlSessionTaskState { Running = 0, Suspended = 1, Canceling = 2, Completed = 3 };

// How a request ended: the answer's status code, or what went wrong.
struct UrlResponse {
    int statusCode = 0;
    std::string error;  // empty when an answer came
};

class UrlSessionDataTask : public std::enable_shared_from_this<UrlSessionDataTask> {
public:
    using CompletionHandler = std::function<void(const UrlResponse& response)>;

    UrlSessionDataTask(std::string url, UrlSessionConfiguration configuration, CompletionHandler completion)
        : url_(std::move(url)), configuration_(configuration), completion_(std::move(completion)) {}

    const std::string& url() const { return url_; }
    const UrlSessionConfiguration& configuration() const { return configuration_; }
    // Any thread.
    UrlSessionTaskState state() const { return state_.load(std::memory_order_acquire); }

    // Starts a suspended task through the installed transport; does nothing
    // to a task already started.
    void resume();
    // Any thread; for transports. The request has ended: the task completes
    // and its completion handler, if any, runs on the calling thread. Later
    // calls do nothing.
    void complete(const UrlResponse& response);

private:
    const std::string url_;
    const UrlSessionConfiguration configuration_;
    CompletionHandler completion_;
    std::atomic<UrlSessionTaskState> state_{UrlSessionTaskState::Suspended};
};

class UrlSession {
public:
    static std::shared_ptr<UrlSession> sessionWithConfiguration(const UrlSessionConfiguration& configuration) {
        return std::make_shared<UrlSession>(configuration);
    }
    explicit UrlSession(const UrlSessionConfiguration& configuration) : configuration_(configuration) {}

    // A suspended GET of `url`; `completion` is told how it ended.
    std::shared_ptr<UrlSessionDataTask> dataTaskWithURL(std::string url,
                                                        UrlSessionDataTask::CompletionHandler completion = {}) const {
        return std::make_shared<UrlSessionDataTask>(std::move(url), configuration_, std::move(completion));
    }

private:
    const UrlSessionConfiguration configuration_;
};

// Carries a resumed task's request. start() returns at once; the transport
// calls the task's complete() when the request has ended.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;
    virtual void start(std::shared_ptr<UrlSessionDataTask> task) = 0;
};

// Any thread. The transport that resumed tasks go to.
std::shared_ptr<HttpTransport> httpTransport();
void setHttpTransport(std::shared_ptr<HttpTransport> transport);

// Keeps every request it is given and sends none; its tasks stay running
// until completeAll() ends them as if an answer had come.
class RecordingHttpTransport : public HttpTransport {
public:
    void start(std::shared_ptr<UrlSessionDataTask> task) override;
    // The addresses asked for, in order.
    std::vector<std::string> requestedURLs() const;
    // The requests themselves, in order.
    std::vector<std::shared_ptr<UrlSessionDataTask>> requests() const;
    // Ends every recorded task that is still running with `response`.
    void completeAll(const UrlResponse& response = {200, ""});

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<UrlSessionDataTask>> tasks_;
};

}  // namespace platform
