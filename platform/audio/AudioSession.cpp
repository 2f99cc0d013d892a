#include "platform/audio/AudioSession.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<std::shared_ptr<AudioSession>>& sharedSlot() {
    static Installed<std::shared_ptr<AudioSession>> session([] { return std::make_shared<AudioSession>(); });
    return session;
}

}  // namespace

std::shared_ptr<AudioSession> AudioSession::sharedInstance() { return sharedSlot().get(); }

// A null session is kept as installed: the system's code copes with none.
void AudioSession::setSharedInstance(std::shared_ptr<AudioSession> session) { sharedSlot().install(std::move(session)); }

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
