#pragma once
// Process-wide notifications by name, delivered on the posting thread.

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

inline constexpr const char* kApplicationWillResignActiveNotification = "UIApplicationWillResignActiveNotification";

class NotificationCenter {
public:
    static NotificationCenter& defaultCenter();
    void addObserver(const std::string& name, std::function<void()> handler);
    void post(const std::string& name);

private:
    std::mutex mutex_;
    std::map<std::string, std::vector<std::function<void()>>> observers_;
};

}  // namespace platform
