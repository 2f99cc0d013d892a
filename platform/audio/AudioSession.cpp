#include "platform/audio/AudioSession.h"

namespace platform {
namespace {

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<AudioSession>& sharedSlot() {
    static std::shared_ptr<AudioSession> session = std::make_shared<AudioSession>();
    return session;
}

}  // namespace

std::shared_ptr<AudioSession> AudioSession::sharedInstance() {
    std::lock_guard lock(sharedMutex());
    return sharedSlot();
}

void AudioSession::setSharedInstance(std::shared_ptr<AudioSession> session) {
    std::lock_guard lock(sharedMutex());
    sharedSlot() = std::move(session);
}

std::optional<AudioSessionError> AudioSession::failureOf(Call call) const {
    const auto& failure = failures_[static_cast<int>(call)];
    if (!failure) return std::nullopt;
    return AudioSessionError{*failure};
}

std::optional<AudioSessionError> AudioSession::setCategory(std::string_view category, uint64_t options) {
    std::lock_guard lock(mutex_);
    if (auto error = failureOf(Call::SetCategory)) return error;
    category_ = category;
    options_ = options;
    return std::nullopt;
}

std::optional<AudioSessionError> AudioSession::setMode(std::string_view mode) {
    std::lock_guard lock(mutex_);
    if (auto error = failureOf(Call::SetMode)) return error;
    mode_ = mode;
    return std::nullopt;
}

std::optional<AudioSessionError> AudioSession::setActive(bool active) {
    std::lock_guard lock(mutex_);
    if (auto error = failureOf(Call::SetActive)) return error;
    active_ = active;
    return std::nullopt;
}

std::string AudioSession::category() const {
    std::lock_guard lock(mutex_);
    return category_;
}

uint64_t AudioSession::categoryOptions() const {
    std::lock_guard lock(mutex_);
    return options_;
}

std::string AudioSession::mode() const {
    std::lock_guard lock(mutex_);
    return mode_;
}

bool AudioSession::isActive() const {
    std::lock_guard lock(mutex_);
    return active_;
}

void AudioSession::setFailure(Call call, std::optional<std::string> localizedDescription) {
    std::lock_guard lock(mutex_);
    failures_[static_cast<int>(call)] = std::move(localizedDescription);
}

}  // namespace platform
