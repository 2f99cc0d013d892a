#include "platform/net/UrlSession.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<std::shared_ptr<HttpTransport>>& transportSlot() {
    static Installed<std::shared_ptr<HttpTransport>> transport(
        [] { return std::shared_ptr<HttpTransport>(std::make_shared<RecordingHttpTransport>()); });
    return transport;
}

}  // namespace

std::shared_ptr<HttpTransport> httpTransport() { return transportSlot().get(); }

void setHttpTransport(std::shared_ptr<HttpTransport> transport) { transportSlot().installOrDefault(std::move(transport)); }

void UrlSessionDataTask::resume() {
    auto expected = UrlSessionTaskState::Suspended;
    if (!state_.compare_exchange_strong(expected, UrlSessionTaskState::Running, std::memory_order_acq_rel)) return;
    // The transport keeps the task alive for as long as the request runs.
    httpTransport()->start(shared_from_this());
}

void UrlSessionDataTask::complete(const UrlResponse& response) {
    auto expected = UrlSessionTaskState::Running;
    if (!state_.compare_exchange_strong(expected, UrlSessionTaskState::Completed, std::memory_order_acq_rel)) return;
    if (completion_) completion_(response);
}

void RecordingHttpTransport::start(std::shared_ptr<UrlSessionDataTask> task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
}

std::vector<std::string> RecordingHttpTransport::requestedURLs() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> urls;
    for (const auto& task : tasks_) urls.push_back(task->url());
    return urls;
}

std::vector<std::shared_ptr<UrlSessionDataTask>> RecordingHttpTransport::requests() const {
    std::lock_guard lock(mutex_);
    return tasks_;
}

void RecordingHttpTransport::completeAll(const UrlResponse& response) {
    // Outside the lock: a completion handler may start another request.
    for (const auto& task : requests()) task->complete(response);
}

}  // namespace platform
