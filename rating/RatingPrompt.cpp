// The class-level settings, the shared instance and its properties.

#include "rating/RatingPrompt.h"

#include <utility>

#include "platform/core/Device.h"
#include "platform/core/NotificationCenter.h"
#include "rating/TextValues.h"

namespace rating {
namespace {

// The class-level settings. Read from the background and event queues while
// the main thread may write them, hence atomics; the identifier has a lock.
struct Settings {
    std::mutex appIdMutex;
    std::string appId;
    std::atomic<double> daysUntilPrompt{30.0};
    std::atomic<int64_t> usesUntilPrompt{20};
    std::atomic<int64_t> significantEventsUntilPrompt{-1};
    std::atomic<double> timeBeforeReminding{1.0};
    std::atomic<bool> debug{false};
    std::atomic<bool> usesAnimation{true};
    std::atomic<bool> modalOpen{false};
    std::atomic<bool> alwaysUseMainBundle{false};

    void restoreDefaults() {
        {
            std::lock_guard lock(appIdMutex);
            appId.clear();
        }
        const Settings fresh;
        daysUntilPrompt = fresh.daysUntilPrompt.load();
        usesUntilPrompt = fresh.usesUntilPrompt.load();
        significantEventsUntilPrompt = fresh.significantEventsUntilPrompt.load();
        timeBeforeReminding = fresh.timeBeforeReminding.load();
        debug = fresh.debug.load();
        usesAnimation = fresh.usesAnimation.load();
        modalOpen = fresh.modalOpen.load();
        alwaysUseMainBundle = fresh.alwaysUseMainBundle.load();
    }
};

Settings& settings() {
    static Settings values;
    return values;
}

std::mutex& sharedMutex() {
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<RatingPrompt>& sharedSlot() {
    static std::shared_ptr<RatingPrompt> instance;
    return instance;
}

// From 7.0 on the platform's store page is the better way to rate.
constexpr double kStorePageFromVersion = 7.0;

}  // namespace

RatingPrompt::RatingPrompt()
    : openInAppStore_(leadingDouble(platform::Device::systemVersion()) >= kStorePageFromVersion),
      eventQueue_(std::make_unique<platform::WorkQueue>("rating prompt events")) {}

RatingPrompt::~RatingPrompt() = default;

RatingPrompt& RatingPrompt::sharedInstance() {
    static std::once_flag listening;
    std::call_once(listening, [] {
        platform::NotificationCenter::defaultCenter().addObserver(platform::kApplicationWillResignActiveNotification,
                                                                  [] { RatingPrompt::appWillResignActive(); });
    });
    std::lock_guard lock(sharedMutex());
    auto& instance = sharedSlot();
    if (!instance) instance = std::shared_ptr<RatingPrompt>(new RatingPrompt());
    return *instance;
}

void RatingPrompt::resetSharedStateForTesting() {
    platform::WorkQueue::background().waitUntilIdle();
    std::shared_ptr<RatingPrompt> previous;
    {
        std::lock_guard lock(sharedMutex());
        previous = std::move(sharedSlot());
    }
    // Outside the lock: its event queue finishes what it holds first.
    previous.reset();
    settings().restoreDefaults();
}

void RatingPrompt::setAppId(std::string appId) {
    std::lock_guard lock(settings().appIdMutex);
    settings().appId = std::move(appId);
}

std::string RatingPrompt::appId() {
    std::lock_guard lock(settings().appIdMutex);
    return settings().appId;
}

void RatingPrompt::setDaysUntilPrompt(double days) { settings().daysUntilPrompt = days; }
void RatingPrompt::setUsesUntilPrompt(int64_t uses) { settings().usesUntilPrompt = uses; }
void RatingPrompt::setSignificantEventsUntilPrompt(int64_t events) { settings().significantEventsUntilPrompt = events; }
void RatingPrompt::setTimeBeforeReminding(double days) { settings().timeBeforeReminding = days; }
void RatingPrompt::setDebug(bool debug) { settings().debug = debug; }
void RatingPrompt::setUsesAnimation(bool animation) { settings().usesAnimation = animation; }
void RatingPrompt::setModalOpen(bool open) { settings().modalOpen = open; }
void RatingPrompt::setAlwaysUseMainBundle(bool alwaysUseMainBundle) { settings().alwaysUseMainBundle = alwaysUseMainBundle; }
void RatingPrompt::setStatusBarStyle(int64_t) {}

double RatingPrompt::daysUntilPrompt() { return settings().daysUntilPrompt; }
int64_t RatingPrompt::usesUntilPrompt() { return settings().usesUntilPrompt; }
int64_t RatingPrompt::significantEventsUntilPrompt() { return settings().significantEventsUntilPrompt; }
double RatingPrompt::timeBeforeReminding() { return settings().timeBeforeReminding; }
bool RatingPrompt::debug() { return settings().debug; }
bool RatingPrompt::usesAnimation() { return settings().usesAnimation; }
bool RatingPrompt::modalOpen() { return settings().modalOpen; }
bool RatingPrompt::alwaysUseMainBundle() { return settings().alwaysUseMainBundle; }

void RatingPrompt::setOpenInAppStore(bool openInAppStore) {
    sharedInstance().openInAppStore_.store(openInAppStore, std::memory_order_relaxed);
}

void RatingPrompt::setDelegate(std::weak_ptr<RatingPromptDelegate> delegate) {
    RatingPrompt& shared = sharedInstance();
    std::lock_guard lock(shared.mutex_);
    shared.delegate_ = std::move(delegate);
}

std::shared_ptr<RatingPromptDelegate> RatingPrompt::delegate() const {
    std::lock_guard lock(mutex_);
    return delegate_.lock();
}

void RatingPrompt::setCustomText(std::string CustomTexts::*field, std::string text) {
    RatingPrompt& shared = sharedInstance();
    std::lock_guard lock(shared.mutex_);
    shared.customTexts_.*field = std::move(text);
}

void RatingPrompt::setCustomAlertTitle(std::string title) { setCustomText(&CustomTexts::title, std::move(title)); }
void RatingPrompt::setCustomAlertMessage(std::string message) { setCustomText(&CustomTexts::message, std::move(message)); }
void RatingPrompt::setCustomAlertCancelButtonTitle(std::string title) {
    setCustomText(&CustomTexts::cancelTitle, std::move(title));
}
void RatingPrompt::setCustomAlertRateButtonTitle(std::string title) {
    setCustomText(&CustomTexts::rateTitle, std::move(title));
}
void RatingPrompt::setCustomAlertRateLaterButtonTitle(std::string title) {
    setCustomText(&CustomTexts::rateLaterTitle, std::move(title));
}

RatingAlert RatingPrompt::ratingAlert() const {
    std::lock_guard lock(mutex_);
    return ratingAlert_;
}

void RatingPrompt::setRatingAlert(RatingAlert alert) {
    RatingAlert previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::exchange(ratingAlert_, std::move(alert));
    }
    // The previous alert goes outside the lock: its views may report their going.
}

}  // namespace rating
