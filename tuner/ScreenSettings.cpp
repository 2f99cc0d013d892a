#include "tuner/ScreenSettings.h"

#include <algorithm>

#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"
#include "sound/ConfirmationBeep.h"
#include "sound/StringSounds.h"
#include "sound/TuningFork.h"

namespace tuner {
namespace {

std::shared_ptr<platform::UserDefaults> store() { return platform::UserDefaults::standardUserDefaults(); }

// A stored switch setting applies only when it holds 0 or 1.
std::optional<bool> switchSetting(const char* key) {
    const int64_t value = store()->integerForKey(key);
    if (value != 0 && value != 1) return std::nullopt;
    return value == 1;
}

// The rating prompt is asked once at 4 appearances and once more at each of 6, 8 and 10.
constexpr int64_t kReviewThresholds[] = {4, 6, 8, 10};

}  // namespace

bool ScreenSettings::isFirstRun() { return !store()->boolForKey(kNewPallqaProKey); }

void ScreenSettings::resetForFirstRun() {
    platform::NSLog("Me abriste por primera vez, voy a borrar los defaults");
    const auto defaults = store();
    // Every key of the program goes, the chord chart's and the rating prompt's too.
    defaults->setPersistentDomain({}, platform::Bundle::mainBundle()->bundleIdentifier());
    defaults->setInteger(1, kSavedLanguageKey);
    defaults->setInteger(kStartSensitivityLevel, kSavedSliderValueKey);
    defaults->setBool(true, sound::kSoundNotificationEnabledKey);
    defaults->setBool(true, sound::kStringSoundsEnabledKey);
    defaults->setBool(true, kFrequencyChartEnabledKey);
    defaults->setInteger(1, kNumberOfRunsKey);
    defaults->synchronize();
    defaults->setBool(true, kNewPallqaProKey);
    defaults->synchronize();
}

RestoredSettings ScreenSettings::restore() {
    const auto defaults = store();
    RestoredSettings restored;
    restored.frequencyChart = switchSetting(kFrequencyChartEnabledKey);
    restored.soundNotification = switchSetting(sound::kSoundNotificationEnabledKey);
    restored.stringSounds = switchSetting(sound::kStringSoundsEnabledKey);
    restored.tuningForkInUse = defaults->integerForKey(sound::kCurrentlyUsingTuningForkKey) == 1;

    micSensitivityValue_ = sensitivityLevelOf(defaults->floatForKey(kSavedSliderValueKey));
    restored.micSensitivityValue = micSensitivityValue_;
    // The level the slider shows is the one in force from the start, not only
    // once the slider is moved: a stored level beyond the slider's ends takes
    // the limits of the end it is shown at.
    const int64_t shownLevel = std::clamp(micSensitivityValue_, kLowestSensitivityLevel, kHighestSensitivityLevel);
    if (const auto limits = limitsForSensitivityLevel(shownLevel)) limits_ = *limits;

    // Counted on whatever other runs have counted meanwhile; at the largest number it stays.
    defaults->incrementIntegerForKey(kNumberOfRunsKey);
    defaults->synchronize();
    platform::NSLog("bottomLimit: %f", limits_.bottom);
    platform::NSLog("topLimit: %f", limits_.top);
    return restored;
}

void ScreenSettings::takeSensitivity(float position, float shown) {
    micSensitivityValue_ = sensitivityLevelOf(position);
    const auto defaults = store();
    defaults->setInteger(sensitivityLevelOf(shown), kSavedSliderValueKey);
    defaults->synchronize();
    if (const auto limits = limitsForSensitivityLevel(micSensitivityValue_)) limits_ = *limits;
    platform::NSLog("micSensitivityValue: %ld", micSensitivityValue_);
    platform::NSLog("bottomLimit: %f", limits_.bottom);
    platform::NSLog("topLimit: %f", limits_.top);
}

void ScreenSettings::storeFrequencyChart(bool enabled) {
    const auto defaults = store();
    defaults->setBool(enabled, kFrequencyChartEnabledKey);
    defaults->synchronize();
    if (enabled) {
        platform::NSLog("Frequency chart IS enabled: %d", 1);
    } else {
        platform::NSLog("Frequency chart IS NOT enabled: %d", 0);
    }
}

int ScreenSettings::reviewRequestsDue() {
    const int64_t runs = store()->integerForKey(kNumberOfRunsKey);
    return static_cast<int>(std::count_if(std::begin(kReviewThresholds), std::end(kReviewThresholds),
                                          [runs](int64_t threshold) { return runs >= threshold; }));
}

}  // namespace tuner
