#pragma once
// The confirmation beep of the tuner screen: when the tuning loop finds a
// pitch in tune it calls that pitch's confirmation, which beeps once and then
// stays quiet for that pitch until a reset five seconds later re-arms all
// five. The settings switch turns the beep on and off. The screen owns one
// and forwards to it; every operation runs on the main thread.

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "platform/audio/AudioPlayer.h"
#include "platform/ui/Controls.h"
#include "sound/PitchConfirmations.h"

namespace sound {

inline constexpr char kSoundNotificationEnabledKey[] = "soundNotificationEnabled";
inline constexpr char kBeepSoundFile[] = "beep-full.wav";

class ConfirmationBeep {
public:
    // Seconds after a beep until the reset that lets every pitch beep again.
    static constexpr double kRearmDelay = 5.0;

    // `confirmations` are the program's record of the pitches confirmed so far.
    explicit ConfirmationBeep(std::shared_ptr<PitchConfirmations> confirmations = PitchConfirmations::shared())
        : confirmations_(std::move(confirmations)) {}

    // Replaces the beep player by a new one of "beep-full.wav"; plays nothing.
    void prepareBeepSound();

    // The confirmations of pitches 1 to 5: E5, A4, E4, C5, G4.
    void play1stSoundOnce();
    void play2ndSoundOnce();
    void play3rdSoundOnce();
    void play4thSoundOnce();
    void play5thSoundOnce();
    // The confirmation of pitch `k` (1 to 5; others do nothing): marks the
    // pitch as tuned once and, with the beep on and this pitch not yet beeped,
    // beeps, marks it beeped and schedules resetTuningBools.
    void playSoundOnce(size_t k);

    // The settings switch: its state becomes soundNotificationOn and the stored setting.
    void soundNotificationAction(platform::Switch& sender);
    // Whether a confirmation beeps: the setting "soundNotificationEnabled" as
    // the screen last restored it or the switch last set it; on at first.
    bool soundNotificationOn() const { return soundNotificationOn_; }
    void setSoundNotificationOn(bool on) { soundNotificationOn_ = on; }

    // The player made by the latest prepareBeepSound; none before it or when
    // the beep could not be read.
    const platform::AudioPlayer* beepSoundPlayer() const { return beepSoundPlayer_.get(); }

    // "soundNotificationAction:", for the screen's table of actions.
    std::map<std::string, platform::Control::Action> actions();

private:
    std::shared_ptr<PitchConfirmations> confirmations_;
    bool soundNotificationOn_ = true;
    std::unique_ptr<platform::AudioPlayer> beepSoundPlayer_;
};

}  // namespace sound
