// The tuning loop: each tick gates the level between the two sensitivity
// limits and matches the frequency against the five open pitches.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/ui/Image.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "sound/SoundFlags.h"
#include "tuner/MatchTable.h"
#include "tuner/OutletUpdates.h"
#include "tuner/SensitivityTable.h"
#include "tuner/TuningValues.h"
#include "tuner/ViewController.h"

namespace tuner {
namespace {

// Above this frequency an unmatched tick shows the last match's texts instead
// of the measured value.
constexpr float kLastMatchAbove = 700.0f;
// Delays after an unmatched loud tick once every pitch has been confirmed.
constexpr double kPromptDelay = 2.0;
constexpr double kRearmDelay = 4.0;

// Names built once, so that a tick looks pictures up without making strings.
const std::string& green64() {
    static const std::string name = "green64.png";
    return name;
}
const std::string& green128() {
    static const std::string name = "green128.png";
    return name;
}
const std::string& yellow64() {
    static const std::string name = "yellow64.png";
    return name;
}
const std::string& yellow128() {
    static const std::string name = "yellow128.png";
    return name;
}

bool everyPitchTunedOnce() {
    return std::all_of(sound::stringTunedOnce.begin(), sound::stringTunedOnce.end(), [](bool tuned) { return tuned; });
}

// The rating prompt is asked once at 4 appearances and once more at each of
// 6, 8 and 10.
constexpr int64_t kReviewThresholds[] = {4, 6, 8, 10};

void askForReview(const std::function<void()>& requestReview) {
    const int64_t runs = platform::UserDefaults::standardUserDefaults().integerForKey(ViewController::kNumberOfRunsKey);
    for (const int64_t threshold : kReviewThresholds) {
        if (runs >= threshold && requestReview) requestReview();
    }
}

}  // namespace

void ViewController::tickFree(platform::Timer* /*timer*/) {
    // Both readings are taken on every tick, whatever the level.
    const float level = pitchInput_->averagePower();
    const float frequency = pitchInput_->frequency();
    if (static_cast<double>(level) < bottomLimit) {
        displayNoStrings();
        clearGuide();
        return;
    }
    if (static_cast<double>(level) <= topLimit) return;
    guideLatestBuffer();

    char measured[32];
    std::snprintf(measured, sizeof measured, "%.1fHz", static_cast<double>(frequency));
    setText(freq_label, measured);

    if (const MatchWindow* match = matchFrequency(static_cast<double>(frequency))) {
        setHidden(tunedString, false);
        setHidden(tunedString5, false);
        setHidden(tunedStringiPad, false);
        setText(noteDisplay, match->note);
        lastNoteName = match->note;
        displayTunedString(match->stringIndex);
        setImage(LEDDisplay, platform::imageNamed(green64()));
        setImage(LEDDisplay128, platform::imageNamed(green128()));
        describeLamp(true);
        describeLitString(match->pitchNumber);
        setText(freq_label, match->frequencyText);
        lastFrequencyLabel = match->frequencyText;
        beep_.playSoundOnce(static_cast<size_t>(match->pitchNumber));
        return;
    }

    if (frequency > kLastMatchAbove) {
        setText(freq_label, lastFrequencyLabel);
        setText(noteDisplay, lastNoteName);
    }
    if (everyPitchTunedOnce()) {
        // The prompt needs only the request, not this screen.
        platform::RunLoop::main().performAfterDelay(kPromptDelay,
                                                    [request = requestReview_] { askForReview(request); });
        platform::RunLoop::main().performAfterDelay(kRearmDelay, &sound::ConfirmationBeep::resetTuningBools);
    }
}

void ViewController::displayNoStrings() {
    setText(freq_label, "");
    setText(noteDisplay, "");
    setHidden(tunedString, true);
    setHidden(tunedString5, true);
    setHidden(tunedStringiPad, true);
    setImage(LEDDisplay, platform::imageNamed(yellow64()));
    setImage(LEDDisplay128, platform::imageNamed(yellow128()));
    describeLamp(false);
    describeLitString(0);
}

void ViewController::micSensitivity(platform::Control* sender) {
    // A layout without the slider reads as position 0.
    const auto sliderValue = [this] { return micSensitivitySlider ? micSensitivitySlider->value() : 0.0f; };
    // The level is taken before the slider snaps to a whole step, the stored value after.
    micSensitivityValue = sensitivityLevelOf(sliderValue());
    if (auto* slider = dynamic_cast<platform::Slider*>(sender)) slider->setValue(std::round(slider->value()));
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setInteger(sensitivityLevelOf(sliderValue()), kSavedSliderValueKey);
    defaults.synchronize();
    if (const auto limits = limitsForSensitivityLevel(micSensitivityValue)) {
        bottomLimit = limits->bottom;
        topLimit = limits->top;
    }
    describeSettings();
    platform::NSLog("micSensitivityValue: %ld", micSensitivityValue);
    platform::NSLog("bottomLimit: %f", bottomLimit);
    platform::NSLog("topLimit: %f", topLimit);
}

void ViewController::promptToReview() { askForReview(requestReview_); }

}  // namespace tuner
