#pragma once
// The tuner screen. Every 10 ms it reads the level and the frequency of the
// latest captured sound, matches the frequency against the five open pitches
// of the instrument and shows the matched string (picture, note, reference
// frequency, green lamps), confirming it with a beep. Around the loop stand the
// screen's life-cycle (audio, the tick timer, the stored settings and their
// first-run reset, the localised texts), the settings switches and slider,
// the tuning fork and the string sounds; the sound parts live in sound/ and
// the screen forwards its actions to them.
//
// Its layout connects the outlets and actions below by name; a layout need
// not hold every element, and a missing one is simply not drawn on.
// Everything here runs on the main thread.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Gauge.h"
#include "platform/core/RunLoop.h"
#include "platform/ui/ViewController.h"
#include "sound/ConfirmationBeep.h"
#include "sound/StringSounds.h"
#include "sound/ToneGenerator.h"
#include "sound/TuningFork.h"
#include "tuner/PitchInput.h"
#include "tuner/TuningGuide.h"

namespace tuner {

class ViewController : public platform::ViewController {
public:
    // The stored settings of the tuner screen, besides the sound switches'
    // (sound/) and the tuning fork's (sound/TuningFork.h).
    static constexpr const char* kNewPallqaProKey = "NewPallqaPro";  // the first-run reset is done
    static constexpr const char* kFrequencyChartEnabledKey = "frequencyChartEnabled";
    static constexpr const char* kSavedSliderValueKey = "savedSliderValue";
    static constexpr const char* kNumberOfRunsKey = "numberOfRuns";  // appearances of the screen
    static constexpr const char* kSavedLanguageKey = "SavedLanguage";  // written only

    // Seconds between two ticks of the tuning loop.
    static constexpr double kTickInterval = 0.01;

    // `requestReview` asks the rating prompt to show itself; `pitchInput`
    // gives the readings the loop works on.
    explicit ViewController(std::function<void()> requestReview = defaultReviewRequest(),
                            std::shared_ptr<PitchInput> pitchInput = PitchInput::sharedListener());
    // Stops the tick timer: a screen that is gone is not ticked.
    ~ViewController() override;

    // --- Life-cycle and settings (ScreenLifecycle.cpp). ---

    // Keeps the screen awake, sets the audio session up for measuring, starts
    // listening and starts the tick timer; hides the tuning-fork button on
    // systems below 6.0.
    void viewDidLoad() override;
    // Sets the tone up, stops the tuning fork, prepares the beep, then restores
    // the stored settings (or, on the first run, empties the whole store and
    // stores the defaults) and sets the localised texts.
    void viewWillAppear(bool animated) override;
    // The frequency-chart switch: shows or hides the chart and stores the choice.
    void toggleFreqChart(platform::Control* sender);
    void localizeSettings();
    void localizeAbout();
    // Sets no text.
    void localizeNotes();

    // --- Tuning loop (TuningLoop.cpp). ---

    // The timer's action; the timer itself is ignored.
    void tickFree(platform::Timer* timer);
    // The sensitivity slider: takes the level and its limits, snaps the
    // slider to a whole step and stores it.
    void micSensitivity(platform::Control* sender);
    // Clears the texts, hides the string pictures and turns the lamps yellow.
    void displayNoStrings();
    // Asks the rating prompt to show itself once for every two appearances
    // counted from 4 on, at most four times.
    void promptToReview();

    // --- String display (TunedStringDisplay.cpp). ---

    // Shows the picture of string `stringIndex` (1 to 6) in the picture view
    // and at the size that the device's screen class uses; an index, an
    // idiom or a screen height the tables do not know changes nothing.
    void displayTunedString(int64_t stringIndex);

    // --- Tuning guide (TuningGuideDisplay.cpp). ---

    // Shows the guidance for the latest buffer's refined frequency, unless
    // that buffer is already shown.
    void guideLatestBuffer();
    // Shows no guidance, unless none is shown already.
    void clearGuide();
    // Shows `guidance`, or the guide's blank state.
    void displayGuide(const std::optional<Guidance>& guidance);

    // --- Sounds, forwarded to the parts in sound/. ---

    void play1stStringSound(platform::Control* sender) { stringSounds_.play1stStringSound(sender); }
    void play2ndStringSound(platform::Control* sender) { stringSounds_.play2ndStringSound(sender); }
    void play3rdStringSound(platform::Control* sender) { stringSounds_.play3rdStringSound(sender); }
    void play4thStringSound(platform::Control* sender) { stringSounds_.play4thStringSound(sender); }
    void play5thStringSound(platform::Control* sender) { stringSounds_.play5thStringSound(sender); }
    void play6thStringSound(platform::Control* sender) { stringSounds_.play6thStringSound(sender); }
    // Also dims the string buttons while the sounds are off.
    void toggleStringSounds(platform::Control* sender);
    void soundNotificationAction(platform::Control* sender) { beep_.soundNotificationAction(sender); }
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

    sound::ToneGenerator& toneGenerator() { return tone_; }
    sound::TuningFork& tuningFork() { return tuningFork_; }
    sound::StringSounds& stringSounds() { return stringSounds_; }
    sound::ConfirmationBeep& confirmationBeep() { return beep_; }
    // The tick timer; none before viewDidLoad.
    const std::shared_ptr<platform::Timer>& timer() const { return timer_; }

    // --- What the layout connects (ScreenConnections.cpp). ---

    // Every outlet below by its name.
    std::map<std::string, platform::OutletBinder> outlets() override;
    // Every action by its selector ("micSensitivity:", "playA440Hz:", ...). A
    // subclass adds its own to this table.
    std::map<std::string, platform::Control::Action> actions() override;

    // Elements of the layout.
    std::shared_ptr<platform::Label> currentTuningName;
    std::shared_ptr<platform::Label> noteDisplay;
    std::shared_ptr<platform::Label> freq_label;
    std::shared_ptr<platform::Label> aboutCongratsMessage;
    std::shared_ptr<platform::Label> aboutMsg2;
    std::shared_ptr<platform::Label> tfnoteDisplay;
    std::shared_ptr<platform::Label> tfFreqLabel;
    std::shared_ptr<platform::Label> micSensitivityLabel;
    std::shared_ptr<platform::Label> soundNotificationLabel;
    std::shared_ptr<platform::Label> stringSoundsLabel;
    std::shared_ptr<platform::Label> frequencyChartLabel;
    std::shared_ptr<platform::Button> tuningForkButton;
    std::shared_ptr<platform::ImageView> LEDDisplay128;
    std::shared_ptr<platform::ImageView> LEDDisplay;
    // The string pictures: the 480-point phone's, the taller phones', the tablets'.
    std::shared_ptr<platform::ImageView> tunedString;
    std::shared_ptr<platform::ImageView> tunedString5;
    std::shared_ptr<platform::ImageView> tunedStringiPad;
    std::shared_ptr<platform::ImageView> freqChart;
    std::shared_ptr<platform::Slider> micSensitivitySlider;
    std::shared_ptr<platform::Switch> soundNotificationSwitch;
    std::shared_ptr<platform::Switch> stringSoundsSwitch;
    std::shared_ptr<platform::Switch> freqChartSwitch;
    // Additions of this program's tuning-fork panel: a hint shown while no tone
    // plays, and the Stop button shown only while one does.
    std::shared_ptr<platform::Label> tuningForkHint;
    std::shared_ptr<platform::Button> tuningForkStopButton;
    // The tuning guide.
    std::shared_ptr<platform::Label> guideCourse;
    std::shared_ptr<platform::Label> guideCents;
    std::shared_ptr<platform::Label> guideDirection;
    std::shared_ptr<platform::Gauge> guideNeedle;

private:
    // The rating prompt's tryToShowPrompt.
    static std::function<void()> defaultReviewRequest();

    // viewWillAppear's two ways with the stored settings.
    void restoreSettings();
    void resetSettingsForFirstRun();

    // What screen readers say (SpokenDescriptions.cpp): the elements' names,
    // once; the lamp's and the lit string's states, on each tick that sets them.
    void nameElementsForScreenReaders();
    void nameStringSoundButtons(const std::string& string);
    void describeLamp(bool inTune);
    void describeLitString(int pitchNumber);  // 0: no string lit
    void describeSettings();

    std::function<void()> requestReview_;
    std::shared_ptr<PitchInput> pitchInput_;
    std::shared_ptr<platform::Timer> timer_;
    // The buffer the guide shows, if it shows one.
    bool guideShowsBuffer_ = false;
    uint64_t guidedBuffer_ = 0;

    // The spoken states, made once so a tick makes no text.
    struct SpokenStates {
        std::string inTune;
        std::string notInTune;
        std::array<std::string, 5> courses;  // "A4, strings 3 and 4", by course
    };
    SpokenStates spoken_;

    // The guide's words in the language in use, by direction where they differ.
    struct GuideTexts {
        std::string course;  // "Course", before the course's number
        std::string cents;   // "cents", after the offset
        std::string noString;
        char decimalSeparator = '.';        // in the offset, "-0,4" in Spanish
        std::array<std::string, 3> shown;   // "▲ tune up", by TuningDirection
        std::array<std::string, 3> spoken;  // "tune up", by TuningDirection
    };
    // Read from the string table once, as the screen is made, so a tick makes no lookup.
    static GuideTexts guideTextsInLanguageInUse();
    GuideTexts guideTexts_ = guideTextsInLanguageInUse();

    sound::ToneGenerator tone_;
    sound::TuningFork tuningFork_{tfnoteDisplay, tfFreqLabel};
    sound::StringSounds stringSounds_;
    sound::ConfirmationBeep beep_;
};

}  // namespace tuner
