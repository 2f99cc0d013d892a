#include "tuner/ViewController.h"

#include <charconv>

#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/ui/Application.h"
#include "rating/RatingPrompt.h"
#include "tuner/AudioSessionSetup.h"
#include "tuner/OutletUpdates.h"

namespace tuner {
namespace {

// The tuning-fork button needs a system of at least this version.
constexpr float kTuningForkMinimumSystemVersion = 6.0f;

// Delays after an unmatched loud tick once every pitch has been confirmed.
constexpr double kPromptDelay = 2.0;
constexpr double kRearmDelay = 4.0;

// The leading number of a version text ("5.1.1" reads 5.1); 0 when there is none.
float versionNumber(const std::string& version) {
    float number = 0.0f;
    std::from_chars(version.data(), version.data() + version.size(), number);
    return number;
}

std::string localized(const char* key) { return platform::Bundle::mainBundle()->localizedString(key, "", ""); }

void askForReview(const std::function<void()>& requestReview) {
    const int requests = ScreenSettings::reviewRequestsDue();
    for (int i = 0; i < requests && requestReview; ++i) requestReview();
}

}  // namespace

ViewController::ViewController(std::function<void()> requestReview, std::shared_ptr<PitchInput> pitchInput,
                               std::shared_ptr<sound::PitchConfirmations> confirmations,
                               std::shared_ptr<GuideInput> guideInput)
    : requestReview_(std::move(requestReview)),
      pitchInput_(std::move(pitchInput)),
      confirmations_(std::move(confirmations)),
      guide_(*this, std::move(guideInput)) {
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
    platform::Application::sharedApplication()->setIdleTimerDisabled(true);
    setUpAudioSessionForMeasuring();
    spoken_.nameElements(view());
    courseChoice_.showOn(view());
    pitchInput_->listen();
    guide_.listen();
    timer_ = platform::RunLoop::main()->scheduleRepeating(kTickInterval, [this] { tickFree(timer_.get()); });
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
    if (ScreenSettings::isFirstRun()) {
        // The elements keep their layout state and the sound parts their
        // start values, which agree with what the reset stores.
        settings_.resetForFirstRun();
    } else {
        showRestoredSettings(settings_.restore());
    }
    localizeSettings();
    localizeNotes();
    localizeAbout();
    stringSounds_.showControlsEnabled(view());
    spoken_.describeSettings();
}

void ViewController::showRestoredSettings(const RestoredSettings& restored) {
    if (restored.frequencyChart) {
        setHidden(freqChart, !*restored.frequencyChart);
        if (freqChartSwitch) freqChartSwitch->setOn(*restored.frequencyChart);
    }
    if (restored.soundNotification) {
        beep_.setSoundNotificationOn(*restored.soundNotification);
        if (soundNotificationSwitch) soundNotificationSwitch->setOn(*restored.soundNotification);
    }
    if (restored.stringSounds) {
        stringSounds_.setStringSoundsOn(*restored.stringSounds);
        if (stringSoundsSwitch) stringSoundsSwitch->setOn(*restored.stringSounds);
    }
    if (restored.tuningForkInUse) beep_.setSoundNotificationOn(false);
    if (micSensitivitySlider) micSensitivitySlider->setValue(static_cast<float>(restored.micSensitivityValue));
}

void ViewController::toggleFreqChart(platform::Switch& sender) {
    const bool enabled = sender.isOn();
    setHidden(freqChart, !enabled);
    settings_.storeFrequencyChart(enabled);
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

void ViewController::tickFree(platform::Timer* /*timer*/) {
    const TickDisplay tick = loop_.tick(settings_.limits());
    switch (tick.gate) {
        case TickDisplay::Gate::Cleared: display_.showNoStrings(); break;
        case TickDisplay::Gate::Held: break;
        case TickDisplay::Gate::Measured:
            display_.showMeasured(tick);
            if (tick.match) beep_.playSoundOnce(static_cast<size_t>(tick.match->pitchNumber));
            if (tick.asksForReview) scheduleReviewAndRearm();
            break;
    }
    guide_.tick(settings_.limits());
}

void ViewController::scheduleReviewAndRearm() {
    const auto loop = platform::RunLoop::main();
    loop->performAfterDelay(kPromptDelay, [request = requestReview_] { askForReview(request); });
    loop->performAfterDelay(kRearmDelay, [confirmations = confirmations_] { confirmations->resetTuningBools(); });
}

void ViewController::micSensitivity(platform::Slider& sender) {
    // The level is taken where the slider was let go; the slider then snaps to
    // a whole step within its range, and the step it shows is stored.
    const float position = sender.value();
    const float shown = snappedSliderPosition(position, sender.minimumValue(), sender.maximumValue());
    sender.setValue(shown);
    settings_.takeSensitivity(position, shown);
    spoken_.describeSensitivity(shown);
}

void ViewController::promptToReview() { askForReview(requestReview_); }

void ViewController::toggleStringSounds(platform::Switch& sender) {
    stringSounds_.toggleStringSounds(sender);
    stringSounds_.showControlsEnabled(view());
}

std::map<std::string, platform::Control::Action> ViewController::actions() {
    std::map<std::string, platform::Control::Action> table{
        {"micSensitivity:", platform::actionFor(this, &ViewController::micSensitivity)},
        {"toggleFreqChart:", platform::actionFor(this, &ViewController::toggleFreqChart)},
        {"chooseCourse:", platform::actionFor(this, &ViewController::chooseCourse)},
    };
    table.merge(tuningFork_.actions());
    table.merge(stringSounds_.actions());
    table.insert_or_assign("toggleStringSounds:", platform::actionFor(this, &ViewController::toggleStringSounds));
    table.merge(beep_.actions());
    return table;
}

}  // namespace tuner
