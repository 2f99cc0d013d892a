#pragma once
// The string sounds of the tuner screen: six string controls, each playing a
// recording of its string's open pitch so the user can tune by ear, and the
// settings switch that turns them on and off. The screen owns one and
// forwards its actions to it; every operation runs on the main thread.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/audio/AudioPlayer.h"
#include "platform/ui/Controls.h"

namespace sound {

inline constexpr char kStringSoundsEnabledKey[] = "stringSoundsEnabled";

class StringSounds {
public:
    // The recording of the string at `stringIndex` (1 to 6, the on-screen
    // string positions), e.g. "3_4_A4.mp3" for index 2; empty for any other index.
    static std::string_view recordingForString(int64_t stringIndex);

    // The string controls; each ignores its sender.
    void play1stStringSound(platform::Control* sender);
    void play2ndStringSound(platform::Control* sender);
    void play3rdStringSound(platform::Control* sender);
    void play4thStringSound(platform::Control* sender);
    void play5thStringSound(platform::Control* sender);
    void play6thStringSound(platform::Control* sender);
    // What every string control does: with the string sounds on, replaces the
    // string player by a new one of the string's recording (which silences the
    // old one) and plays it; with them off, only logs.
    void playStringSound(int64_t stringIndex);

    // The settings switch: its state becomes stringSoundsOn and the stored setting.
    void toggleStringSounds(platform::Switch& sender);
    // Whether a tap plays: the setting "stringSoundsEnabled" as the screen
    // last restored it or the switch last set it; on at first.
    bool stringSoundsOn() const { return stringSoundsOn_; }
    void setStringSoundsOn(bool on) { stringSoundsOn_ = on; }

    // Shows the string controls under `screen` enabled while the string sounds
    // are on and disabled while they are off, as tapping them then does nothing.
    void showControlsEnabled(const std::shared_ptr<platform::View>& screen) const;

    // The player of the latest tap; none before the first, or when its
    // recording could not be read.
    const platform::AudioPlayer* stringPlayer() const { return stringPlayer_.get(); }

    // The actions by selector ("play1stStringSound:", "toggleStringSounds:", ...),
    // for the screen's table of actions.
    std::map<std::string, platform::Control::Action> actions();

private:
    bool stringSoundsOn_ = true;
    std::unique_ptr<platform::AudioPlayer> stringPlayer_;
};

}  // namespace sound
