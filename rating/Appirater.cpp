// The class-level settings, the shared instance and its properties.

#include "rating/Appirater.h"

#include <utility>

#include "platform/Device.h"
#include "platform/NotificationCenter.h"
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

std::shared_ptr<Appirater>& sharedSlot() {
    static std::shared_ptr<Appirater> instance;
    return instance;
}

// From 7.0 on the platform's store page is the better way to rate.
constexpr double kStorePageFromVersion = 7.0;

}  // namespace

Appirater::Appirater()
    : openInAppStore_(leadingDouble(platform::Device::systemVersion()) >= kStorePageFromVersion),
      eventQueue_(std::make_unique<platform::WorkQueue>("appirater events")) {}

Appirater::~Appirater() = default;

Appirater& Appirater::sharedInstance() {
    static std::once_flag listening;
    std::call_once(listening, [] {
        platform::NotificationCenter::defaultCenter().addObserver(platform::kApplicationWillResignActiveNotification,
                                                                  [] { Appirater::appWillResignActive(); });
    });
    std::lock_guard lock(sharedMutex());
    auto& instance = sharedSlot();
    if (!instance) instance = std::shared_ptr<Appirater>(new Appirater());
    return *instance;
}

void Appirater::resetSharedStateForTesting() {
    platform::WorkQueue::background().waitUntilIdle();
    std::shared_ptr<Appirater> previous;
    {
        std::lock_guard lock(sharedMutex());
        previous = std::move(sharedSlot());
    }
    // Outside the lock: its event queue finishes what it holds first.
    previous.reset();
    settings().restoreDefaults();
}

void Appirater::setAppId(std::string appId) {
    std::lock_guard lock(settings().appIdMutex);
    settings().appId = std::move(appId);
}

std::string Appirater::appId() {
    std::lock_guard lock(settings().appIdMutex);
    return settings().appId;
}

void Appirater::setDaysUntilPrompt(double days) { settings().daysUntilPrompt = days; }
void Appirater::setUsesUntilPrompt(int64_t uses) { settings().usesUntilPrompt = uses; }
void Appirater::setSignificantEventsUntilPrompt(int64_t events) { settings().significantEventsUntilPrompt = events; }
void Appirater::setTimeBeforeReminding(double days) { settings().timeBeforeReminding = days; }
void Appirater::setDebug(bool debug) { settings().debug = debug; }
void Appirater::setUsesAnimation(bool animation) { settings().usesAnimation = animation; }
void Appirater::setModalOpen(bool open) { settings().modalOpen = open; }
void Appirater::setAlwaysUseMainBundle(bool alwaysUseMainBundle) { settings().alwaysUseMainBundle = alwaysUseMainBundle; }
void Appirater::setStatusBarStyle(int64_t) {}

double Appirater::daysUntilPrompt() { return settings().daysUntilPrompt; }
int64_t Appirater::usesUntilPrompt() { return settings().usesUntilPrompt; }
int64_t Appirater::significantEventsUntilPrompt() { return settings().significantEventsUntilPrompt; }
double Appirater::timeBeforeReminding() { return settings().timeBeforeReminding; }
bool Appirater::debug() { return settings().debug; }
bool Appirater::usesAnimation() { return settings().usesAnimation; }
bool Appirater::modalOpen() { return settings().modalOpen; }
bool Appirater::alwaysUseMainBundle() { return settings().alwaysUseMainBundle; }

void Appirater::setOpenInAppStore(bool openInAppStore) {
    sharedInstance().openInAppStore_.store(openInAppStore, std::memory_order_relaxed);
}

void Appirater::setDelegate(std::weak_ptr<AppiraterDelegate> delegate) {
    Appirater& shared = sharedInstance();
    std::lock_guard lock(shared.mutex_);
    shared.delegate_ = std::move(delegate);
}

std::shared_ptr<AppiraterDelegate> Appirater::delegate() const {
    std::lock_guard lock(mutex_);
    return delegate_.lock();
}

void Appirater::setCustomText(std::string CustomTexts::*field, std::string text) {
    Appirater& shared = sharedInstance();
    std::lock_guard lock(shared.mutex_);
    shared.customTexts_.*field = std::move(text);
}

void Appirater::setCustomAlertTitle(std::string title) { setCustomText(&CustomTexts::title, std::move(title)); }
void Appirater::setCustomAlertMessage(std::string message) { setCustomText(&CustomTexts::message, std::move(message)); }
void Appirater::setCustomAlertCancelButtonTitle(std::string title) {
    setCustomText(&CustomTexts::cancelTitle, std::move(title));
}
void Appirater::setCustomAlertRateButtonTitle(std::string title) {
    setCustomText(&CustomTexts::rateTitle, std::move(title));
}
void Appirater::setCustomAlertRateLaterButtonTitle(std::string title) {
    setCustomText(&CustomTexts::rateLaterTitle, std::move(title));
}

RatingAlert Appirater::ratingAlert() const {
    std::lock_guard lock(mutex_);
    return ratingAlert_;
}

void Appirater::setRatingAlert(RatingAlert alert) {
    RatingAlert previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::exchange(ratingAlert_, std::move(alert));
    }
    // The previous alert goes outside the lock: its views may report their going.
}

}  // namespace rating
