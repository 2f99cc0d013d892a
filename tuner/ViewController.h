#pragma once
// The tuner screen. Every 10 ms its tuning loop reads the level and the
// frequency of the latest captured sound and works out what the tick shows
// (TuningLoop.h); the display puts that on the elements (TunerDisplay.h),
// the guide shows its own reading beside it (TuningGuideDisplay.h), and a
// match is confirmed with a beep. The screen owns these parts, its stored
// settings (ScreenSettings.h), what screen readers say (SpokenDescriptions.h)
// and the sound parts of sound/; the operations below keep the names the
// layouts and the program call, and forward to the parts.
//
// The screen is made of its elements (ScreenOutlets.h), which its layout
// connects by name, as it connects the actions below by selector; an action
// that only a slider or a switch sends takes that kind of control.
// Everything here runs on the main thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/RunLoop.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ViewController.h"
#include "sound/ConfirmationBeep.h"
#include "sound/PitchConfirmations.h"
#include "sound/StringSounds.h"
#include "sound/ToneGenerator.h"
#include "sound/TuningFork.h"
#include "tuner/CourseChoice.h"
#include "tuner/GuideInput.h"
#include "tuner/PitchInput.h"
#include "tuner/ScreenOutlets.h"
#include "tuner/ScreenSettings.h"
#include "tuner/SpokenDescriptions.h"
#include "tuner/TunedStringDisplay.h"
#include "tuner/TunerDisplay.h"
#include "tuner/TuningGuideDisplay.h"
#include "tuner/TuningLoop.h"

namespace tuner {

class ViewController : public platform::ViewController, public ScreenOutlets {
public:
    // Seconds between two ticks of the tuning loop.
    static constexpr double kTickInterval = 0.01;

    // `requestReview` asks the rating prompt to show itself; `pitchInput`
    // gives the readings the loop works on; `confirmations` are the program's
    // record of the pitches confirmed so far; `guideInput` gives the guide's
    // own readings.
    explicit ViewController(
        std::function<void()> requestReview = defaultReviewRequest(),
        std::shared_ptr<PitchInput> pitchInput = PitchInput::sharedListener(),
        std::shared_ptr<sound::PitchConfirmations> confirmations = sound::PitchConfirmations::shared(),
        std::shared_ptr<GuideInput> guideInput = GuideInput::sharedStream());
    // Stops the tick timer: a screen that is gone is not ticked.
    ~ViewController() override;

    // --- Life-cycle and settings ---

    // Keeps the screen awake, sets the audio session up for measuring, starts
    // listening (the detector and the guide's stream) and starts the tick timer; hides the tuning-fork button on
    // systems below 6.0.
    void viewDidLoad() override;
    // Sets the tone up, stops the tuning fork, prepares the beep, then restores
    // the stored settings (or, on the first run, empties the whole store and
    // stores the defaults) and sets the localised texts.
    void viewWillAppear(bool animated) override;
    // The frequency-chart switch: shows or hides the chart and stores the choice.
    void toggleFreqChart(platform::Switch& sender);
    void localizeSettings();
    void localizeAbout();
    // Sets no text.
    void localizeNotes();

    // --- Tuning loop ---

    // The timer's action, the timer itself ignored: the loop's reading of the
    // tick, put on the elements, then the pitch's confirmation or the rating
    // prompt it calls for; and the guide's latest reading.
    void tickFree(platform::Timer* timer);
    // The sensitivity slider, let go: takes the level where it was let go and
    // its limits, snaps the slider to a whole step and stores that step. The
    // slider's value is read once and each element is set once.
    void micSensitivity(platform::Slider& sender);
    // Clears the texts, hides the string pictures and turns the lamps yellow.
    void displayNoStrings() { display_.showNoStrings(); }
    // A button of the row of courses beside the guide: locks the guide on its
    // course, or, for Auto, releases it (CourseChoice.h).
    void chooseCourse(platform::Button& sender) { courseChoice_.chooseButton(sender); }
    // Locks the guide on course `course` (1 to 5), or releases it with none.
    void lockCourse(std::optional<int> course) { courseChoice_.choose(course); }
    std::optional<int> lockedCourse() const { return courseChoice_.chosen(); }
    // Asks the rating prompt to show itself once for every two appearances
    // counted from 4 on, at most four times.
    void promptToReview();
    // Shows the picture of string `stringIndex` (1 to 6) as the device's
    // screen class has it; see TunedStringDisplay.h.
    void displayTunedString(int64_t stringIndex) { tuner::displayTunedString(*this, stringIndex); }

    // --- Sounds, forwarded to the parts in sound/ ---

    void play1stStringSound(platform::Control* sender) { stringSounds_.play1stStringSound(sender); }
    void play2ndStringSound(platform::Control* sender) { stringSounds_.play2ndStringSound(sender); }
    void play3rdStringSound(platform::Control* sender) { stringSounds_.play3rdStringSound(sender); }
    void play4thStringSound(platform::Control* sender) { stringSounds_.play4thStringSound(sender); }
    void play5thStringSound(platform::Control* sender) { stringSounds_.play5thStringSound(sender); }
    void play6thStringSound(platform::Control* sender) { stringSounds_.play6thStringSound(sender); }
    // Also dims the string buttons while the sounds are off.
    void toggleStringSounds(platform::Switch& sender);
    void soundNotificationAction(platform::Switch& sender) { beep_.soundNotificationAction(sender); }
    void playE659_3Hz(platform::Control* sender) { tuningFork_.playE659_3Hz(sender); }
    void playA440Hz(platform::Control* sender) { tuningFork_.playA440Hz(sender); }
    void playE329_6Hz(platform::Control* sender) { tuningFork_.playE329_6Hz(sender); }
    void playC523_2Hz(platform::Control* sender) { tuningFork_.playC523_2Hz(sender); }
    void playG392Hz(platform::Control* sender) { tuningFork_.playG392Hz(sender); }
    void stopFreqPlay(platform::Control* sender) { tuningFork_.stopFreqPlay(sender); }
    void disableTemporarilySoundConfirmation(platform::Control* sender) {
        tuningFork_.disableTemporarilySoundConfirmation(sender);
    }
    void enableSoundConfirmation(platform::Control* sender) { tuningFork_.enableSoundConfirmation(sender); }

    // The waveform selector of the tone and the tuning fork's play state.
    uint64_t curTone() const { return tone_.curTone(); }
    int64_t curPlayState() const { return tuningFork_.curPlayState(); }

    // --- The parts ---

    const ScreenSettings& settings() const { return settings_; }
    sound::ToneGenerator& toneGenerator() { return tone_; }
    sound::TuningFork& tuningFork() { return tuningFork_; }
    sound::StringSounds& stringSounds() { return stringSounds_; }
    sound::ConfirmationBeep& confirmationBeep() { return beep_; }
    // The tick timer; none before viewDidLoad.
    const std::shared_ptr<platform::Timer>& timer() const { return timer_; }

    // --- What the layout connects ---

    // Every element by its outlet name.
    std::map<std::string, platform::OutletBinder> outlets() override { return outletBinders(); }
    // Every action by its selector ("micSensitivity:", "playA440Hz:", ...). A
    // subclass adds its own to this table.
    std::map<std::string, platform::Control::Action> actions() override;

private:
    // The rating prompt's tryToShowPrompt.
    static std::function<void()> defaultReviewRequest();

    // Puts what an appearance restored on the elements and into the sound parts.
    void showRestoredSettings(const RestoredSettings& restored);
    // Once every pitch has been tuned: the rating prompt and a re-arm of the
    // beep, a little later; neither needs this screen by then.
    void scheduleReviewAndRearm();

    std::function<void()> requestReview_;
    std::shared_ptr<PitchInput> pitchInput_;
    std::shared_ptr<sound::PitchConfirmations> confirmations_;
    std::shared_ptr<platform::Timer> timer_;

    ScreenSettings settings_;
    TuningLoop loop_{pitchInput_, confirmations_};
    SpokenDescriptions spoken_{*this};
    TunerDisplay display_{*this, spoken_};
    TuningGuideDisplay guide_;
    CourseChoice courseChoice_{guide_};
    sound::ToneGenerator tone_;
    sound::TuningFork tuningFork_{tfnoteDisplay, tfFreqLabel};
    sound::StringSounds stringSounds_;
    sound::ConfirmationBeep beep_{confirmations_};
};

}  // namespace tuner
