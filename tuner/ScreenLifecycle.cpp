// The tuner screen's life-cycle: what happens once when its view is loaded,
// what happens each time it appears (the stored settings, or the first-run
// reset), and the settings that belong to the screen itself.

#include <algorithm>
#include <charconv>

#include "platform/ui/Application.h"
#include "platform/audio/AudioSession.h"
#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/core/Log.h"
#include "platform/store/UserDefaults.h"
#include "rating/RatingPrompt.h"
#include "sound/SoundFlags.h"
#include "tuner/OutletUpdates.h"
#include "tuner/SensitivityTable.h"
#include "tuner/TuningValues.h"
#include "tuner/ViewController.h"

namespace tuner {
namespace {

// The tuning-fork button needs a system of at least this version.
constexpr float kTuningForkMinimumSystemVersion = 6.0f;

// The leading number of a version text ("5.1.1" reads 5.1); 0 when there is none.
float versionNumber(const std::string& version) {
    float number = 0.0f;
    std::from_chars(version.data(), version.data() + version.size(), number);
    return number;
}

// A stored switch setting applies only when it holds 0 or 1.
bool isSwitchValue(int64_t value) { return value == 0 || value == 1; }

std::string localized(const char* key) { return platform::Bundle::mainBundle().localizedString(key, "", ""); }

}  // namespace

ViewController::ViewController(std::function<void()> requestReview, std::shared_ptr<PitchInput> pitchInput)
    : requestReview_(std::move(requestReview)), pitchInput_(std::move(pitchInput)) {
    tuningFork_.setPlayStateObserver([this](bool playing) {
        setHidden(tuningForkHint, playing);
        setHidden(tuningForkStopButton, !playing);
    });
}

ViewController::~ViewController() {
    if (timer_) timer_->invalidate();
}

std::function<void()> ViewController::defaultReviewRequest() { return &rating::RatingPrompt::tryToShowPrompt; }

void ViewController::viewDidLoad() {
    platform::ViewController::viewDidLoad();
    platform::Application::sharedApplication().setIdleTimerDisabled(true);

    const auto session = platform::AudioSession::sharedInstance();
    std::optional<platform::AudioSessionError> error;
    if (session) {
        error = session->setCategory(platform::kAudioSessionCategoryPlayAndRecord,
                                     platform::kAudioSessionCategoryOptionDefaultToSpeaker);
        // Measurement mode is a wish: the tuner works without it.
        (void)session->setMode(platform::kAudioSessionModeMeasurement);
    }
    if (!session) {
        platform::NSLog("Error creating session: %@", error ? error->localizedDescription.c_str() : nullptr);
    } else {
        // Capture starts below whether or not the session agrees.
        (void)session->setActive(true);
    }

    nameElementsForScreenReaders();
    pitchInput_->listen();
    timer_ = platform::RunLoop::main().scheduleRepeating(kTickInterval, [this] { tickFree(timer_.get()); });

    if (versionNumber(platform::Device::systemVersion()) < kTuningForkMinimumSystemVersion) {
        setHidden(tuningForkButton, true);
    }
}

void ViewController::viewWillAppear(bool animated) {
    platform::ViewController::viewWillAppear(animated);
    tone_.setCurTone(sound::ToneGenerator::kTriangle);
    tone_.setupAudio();
    tuningFork_.setCurPlayState(sound::TuningFork::kStopped);
    beep_.prepareBeepSound();
    if (platform::UserDefaults::standardUserDefaults().boolForKey(kNewPallqaProKey)) {
        restoreSettings();
    } else {
        resetSettingsForFirstRun();
    }
    localizeSettings();
    localizeNotes();
    localizeAbout();
    sound::StringSounds::showControlsEnabled(view());
    describeSettings();
}

void ViewController::restoreSettings() {
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    const int64_t frequencyChart = defaults.integerForKey(kFrequencyChartEnabledKey);
    const int64_t soundNotification = defaults.integerForKey(sound::kSoundNotificationEnabledKey);
    const int64_t stringSounds = defaults.integerForKey(sound::kStringSoundsEnabledKey);
    const int64_t tuningFork = defaults.integerForKey(sound::kCurrentlyUsingTuningForkKey);

    if (isSwitchValue(frequencyChart)) {
        setHidden(freqChart, frequencyChart == 0);
        if (freqChartSwitch) freqChartSwitch->setOn(frequencyChart == 1);
    }
    if (isSwitchValue(soundNotification)) {
        sound::soundNotificationOn = soundNotification == 1;
        if (soundNotificationSwitch) soundNotificationSwitch->setOn(sound::soundNotificationOn);
    }
    if (isSwitchValue(stringSounds)) {
        sound::stringSoundsOn = stringSounds == 1;
        if (stringSoundsSwitch) stringSoundsSwitch->setOn(sound::stringSoundsOn);
    }
    // While the tuning fork is in use the beep stays quiet; its switch goes on showing the setting.
    if (tuningFork == 1) sound::soundNotificationOn = false;

    micSensitivityValue = sensitivityLevelOf(defaults.floatForKey(kSavedSliderValueKey));
    if (micSensitivitySlider) micSensitivitySlider->setValue(static_cast<float>(micSensitivityValue));
    // The level the slider shows is the one in force from the start, not only
    // once the slider is moved: a stored level beyond the slider's ends takes
    // the limits of the end it is shown at.
    const int64_t shownLevel = std::clamp(micSensitivityValue, kLowestSensitivityLevel, kHighestSensitivityLevel);
    if (const auto limits = limitsForSensitivityLevel(shownLevel)) {
        bottomLimit = limits->bottom;
        topLimit = limits->top;
    }

    // Counted on whatever other runs have counted meanwhile; at the largest number it stays.
    defaults.incrementIntegerForKey(kNumberOfRunsKey);
    defaults.synchronize();
    platform::NSLog("bottomLimit: %f", bottomLimit);
    platform::NSLog("topLimit: %f", topLimit);
}

void ViewController::resetSettingsForFirstRun() {
    platform::NSLog("Me abriste por primera vez, voy a borrar los defaults");
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    // Every key of the program goes, the chord chart's and the rating prompt's too.
    defaults.setPersistentDomain({}, platform::Bundle::mainBundle().bundleIdentifier());
    defaults.setInteger(1, kSavedLanguageKey);
    defaults.setInteger(kStartSensitivityLevel, kSavedSliderValueKey);
    defaults.setBool(true, sound::kSoundNotificationEnabledKey);
    defaults.setBool(true, sound::kStringSoundsEnabledKey);
    defaults.setBool(true, kFrequencyChartEnabledKey);
    defaults.setInteger(1, kNumberOfRunsKey);
    defaults.synchronize();
    defaults.setBool(true, kNewPallqaProKey);
    defaults.synchronize();
    // The elements keep their layout state and the process-wide values their
    // start values, which agree with what was just stored.
}

void ViewController::toggleFreqChart(platform::Control* sender) {
    const auto* chartSwitch = dynamic_cast<const platform::Switch*>(sender);
    if (chartSwitch == nullptr) return;
    const bool enabled = chartSwitch->isOn();
    setHidden(freqChart, !enabled);
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setBool(enabled, kFrequencyChartEnabledKey);
    defaults.synchronize();
    if (enabled) {
        platform::NSLog("Frequency chart IS enabled: %d", 1);
    } else {
        platform::NSLog("Frequency chart IS NOT enabled: %d", 0);
    }
}

void ViewController::toggleStringSounds(platform::Control* sender) {
    stringSounds_.toggleStringSounds(sender);
    sound::StringSounds::showControlsEnabled(view());
}

void ViewController::localizeSettings() {
    setText(micSensitivityLabel, localized("MicSensitivityTitle"));
    setText(soundNotificationLabel, localized("SoundNotificationTitle"));
    setText(stringSoundsLabel, localized("StringSoundsTitle"));
    setText(frequencyChartLabel, localized("FrequencyChartTitle"));
}

void ViewController::localizeAbout() {
    setText(currentTuningName, localized("TuningFreeTitle"));
    setText(aboutMsg2, localized("TunerAboutMsg2"));
    setText(aboutCongratsMessage, localized("TunerAboutCongratsMessage"));
}

void ViewController::localizeNotes() {}

}  // namespace tuner
