#pragma once
// The tuner screen's stored settings: the keys it keeps in the settings
// store, what each appearance does with them (the first-run reset, or the
// restore and the count of appearances), the microphone-sensitivity level
// with the two level limits it puts in force, and the frequency-chart choice.
// The sound switches' keys are sound/'s, the tuning fork's is
// sound/TuningFork.h's; they are restored here too. Main thread only.

#include <cstdint>
#include <optional>

#include "tuner/SensitivityTable.h"

namespace tuner {

// What an appearance restores, for the elements and the sound parts to show.
struct RestoredSettings {
    // A switch setting stored as neither 0 nor 1 is none: the element keeps
    // its layout state and the part its current value.
    std::optional<bool> frequencyChart;
    std::optional<bool> soundNotification;
    std::optional<bool> stringSounds;
    // The tuning fork is marked as in use: the beep stays quiet, while its
    // switch goes on showing the setting.
    bool tuningForkInUse = false;
    // The level the sensitivity slider is put at.
    int64_t micSensitivityValue = 0;
};

class ScreenSettings {
public:
    static constexpr const char* kNewPallqaProKey = "NewPallqaPro";  // the first-run reset is done
    static constexpr const char* kFrequencyChartEnabledKey = "frequencyChartEnabled";
    static constexpr const char* kSavedSliderValueKey = "savedSliderValue";
    static constexpr const char* kNumberOfRunsKey = "numberOfRuns";  // appearances of the screen
    static constexpr const char* kSavedLanguageKey = "SavedLanguage";  // written only

    // Whether an appearance is a first run: the first-run reset has not been
    // stored as done.
    static bool isFirstRun();
    // The first run: empties the whole store, the chord chart's and the rating
    // prompt's keys too, stores the defaults and marks the reset done. The
    // level and the limits keep their values, which agree with the defaults.
    void resetForFirstRun();
    // Every later appearance: reads the stored settings, puts the stored level
    // and the limits of the level the slider can show in force, counts the
    // appearance and logs the limits.
    RestoredSettings restore();

    // The sensitivity slider was let go at `position` and settles at `shown`
    // (snappedSliderPosition): the level is taken from the position and puts
    // its limits in force when it has any; the level shown is stored. Logs the
    // level and the limits.
    void takeSensitivity(float position, float shown);
    // The frequency-chart switch: stores the choice and logs it.
    void storeFrequencyChart(bool enabled);

    // How often the rating prompt is to be asked now: once from 4 appearances
    // on and once more at each of 6, 8 and 10. Read from the store when asked,
    // so a request scheduled by a screen that is gone still counts.
    static int reviewRequestsDue();

    // The sensitivity level last taken from the slider or restored.
    int64_t micSensitivityValue() const { return micSensitivityValue_; }
    // The level limits in force: bottomLimit and topLimit.
    const LevelLimits& limits() const { return limits_; }

private:
    int64_t micSensitivityValue_ = kStartSensitivityLevel;
    LevelLimits limits_ = *limitsForSensitivityLevel(kStartSensitivityLevel);
};

}  // namespace tuner
