#include "platform/core/NotificationCenter.h"

namespace platform {

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

void NotificationCenter::addObserver(const std::string& name, std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    observers_[name].push_back(std::move(handler));
}

void NotificationCenter::post(const std::string& name) {
    std::vector<std::function<void()>> handlers;
    {
        std::lock_guard lock(mutex_);
        if (auto it = observers_.find(name); it != observers_.end()) handlers = it->second;
    }
    for (const auto& handler : handlers) handler();
}

}  // namespace platform
