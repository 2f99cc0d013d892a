#pragma once
// The tuning fork of the tuner screen: five note buttons that play the
// reference tone at the instrument's open pitches and show the note in two
// labels, a stop button, and the two actions that mark in the settings
// whether the tuning fork is in use. The screen owns one and forwards its
// actions to it; every operation runs on the main thread.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/ui/Controls.h"

namespace sound {

// 1 while the tuning fork is marked as in use, 0 (or absent) otherwise; the
// tuner screen reads it when it appears, to keep the confirmation beep quiet.
inline constexpr char kCurrentlyUsingTuningForkKey[] = "currentlyUsingTuningFork";

// One note button.
struct TuningForkNote {
    std::string_view selector;       // the action's name, e.g. "playA440Hz:"
    std::string_view name;           // shown in tfnoteDisplay
    std::string_view frequencyText;  // shown in tfFreqLabel
    float frequency;                 // hertz
};

class TuningFork {
public:
    // Values of curPlayState.
    static constexpr int64_t kPlaying = 0;
    static constexpr int64_t kStopped = 1;

    // The five notes, from the highest course: E5, A4, E4, C5, G4.
    static std::span<const TuningForkNote> notes();
    // The note called `name` ("A4"), or null.
    static const TuningForkNote* noteNamed(std::string_view name);

    // The labels are the screen's outlets, read at each note; they must
    // outlive the fork and may stay empty.
    TuningFork(std::shared_ptr<platform::Label>& tfnoteDisplay, std::shared_ptr<platform::Label>& tfFreqLabel)
        : tfnoteDisplay_(tfnoteDisplay), tfFreqLabel_(tfFreqLabel) {}

    // The note buttons; each ignores its sender.
    void playE659_3Hz(platform::Control* sender);
    void playA440Hz(platform::Control* sender);
    void playE329_6Hz(platform::Control* sender);
    void playC523_2Hz(platform::Control* sender);
    void playG392Hz(platform::Control* sender);
    // What every note button does: shows the note, sets the pitch and starts
    // the tone unit. While a tone plays this only changes its pitch, with no
    // break and no jump in phase.
    void play(const TuningForkNote& note);

    // Stops the tone when it plays; otherwise does nothing.
    void stopFreqPlay(platform::Control* sender);

    // Mark the tuning fork as in use (1) or not (0) in the settings, and log it.
    void disableTemporarilySoundConfirmation(platform::Control* sender);
    void enableSoundConfirmation(platform::Control* sender);

    // Zero, like every field of a new screen, until the screen appears and
    // sets it to kStopped.
    int64_t curPlayState() const { return curPlayState_; }
    void setCurPlayState(int64_t curPlayState);
    // Told whether a tone plays each time a note starts or the tone stops, so
    // the screen can show the Stop button only while there is something to stop.
    void setPlayStateObserver(std::function<void(bool playing)> observer) { playStateObserver_ = std::move(observer); }

    // The fork's actions by selector ("playA440Hz:", "stopFreqPlay:", ...),
    // for the screen's table of actions.
    std::map<std::string, platform::Control::Action> actions();

private:
    void markTuningForkInUse(int64_t inUse);

    std::shared_ptr<platform::Label>& tfnoteDisplay_;
    std::shared_ptr<platform::Label>& tfFreqLabel_;
    int64_t curPlayState_ = 0;
    std::function<void(bool playing)> playStateObserver_;
};

}  // namespace sound
