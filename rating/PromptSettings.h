#pragma once
// The rating prompt's class-level settings: one copy per process, held in
// memory only (they are never written to the settings store), set at launch
// and read by the prompt's parts from the background and event queues while
// the main thread may write them, hence atomics; the identifier has a lock.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace rating {

class PromptSettings {
public:
    // The process's one copy, which RatingPrompt's class-level setters write.
    static PromptSettings& process();

    // The application's identifier in the review store, a decimal text (none by default).
    std::string appId() const;
    void setAppId(std::string appId);

    // Days since the version's first use before asking.
    std::atomic<double> daysUntilPrompt{30.0};
    // Uses of the version before asking.
    std::atomic<int64_t> usesUntilPrompt{20};
    // Significant events of the version before asking; -1 is always met.
    std::atomic<int64_t> significantEventsUntilPrompt{-1};
    // Days after the remind-later button before asking again.
    std::atomic<double> timeBeforeReminding{1.0};
    // The conditions count as met, the launch shows the prompt at once, and
    // "RATING PROMPT" lines are logged.
    std::atomic<bool> debug{false};
    // Whether the product sheet comes and goes with animation.
    std::atomic<bool> usesAnimation{true};
    // Whether the product sheet is on screen: set once it is presented,
    // cleared when it is closed.
    std::atomic<bool> modalOpen{false};
    // Take the alert's texts from the main bundle rather than a separate "RatingPrompt.bundle".
    std::atomic<bool> alwaysUseMainBundle{false};

    // Every setting back to its default, as a freshly started process has them.
    void restoreDefaults();

private:
    mutable std::mutex appIdMutex_;
    std::string appId_;
};

}  // namespace rating
