#include "sound/StringSounds.h"

#include <array>

#include "platform/core/Log.h"
#include "sound/ResourcePlayer.h"
#include "sound/SettingSwitch.h"

namespace sound {
namespace {

struct StringControl {
    std::string_view selector;
    std::string_view recording;  // named for the instrument's strings that sound its pitch
};

// By string index 1 to 6; indexes 1 and 4 are both E5 and share a recording.
constexpr std::array<StringControl, 6> kStrings{{
    {"play1stStringSound:", "1_2_6_E5.mp3"},
    {"play2ndStringSound:", "3_4_A4.mp3"},
    {"play3rdStringSound:", "5_E4.mp3"},
    {"play4thStringSound:", "1_2_6_E5.mp3"},
    {"play5thStringSound:", "7_8_C5.mp3"},
    {"play6thStringSound:", "9_10_G4.mp3"},
}};

}  // namespace

std::string_view StringSounds::recordingForString(int64_t stringIndex) {
    if (stringIndex < 1 || stringIndex > static_cast<int64_t>(kStrings.size())) return {};
    return kStrings[static_cast<size_t>(stringIndex - 1)].recording;
}

void StringSounds::play1stStringSound(platform::Control* /*sender*/) { playStringSound(1); }
void StringSounds::play2ndStringSound(platform::Control* /*sender*/) { playStringSound(2); }
void StringSounds::play3rdStringSound(platform::Control* /*sender*/) { playStringSound(3); }
void StringSounds::play4thStringSound(platform::Control* /*sender*/) { playStringSound(4); }
void StringSounds::play5thStringSound(platform::Control* /*sender*/) { playStringSound(5); }
void StringSounds::play6thStringSound(platform::Control* /*sender*/) { playStringSound(6); }

void StringSounds::playStringSound(int64_t stringIndex) {
    if (!stringSoundsOn_) {
        platform::NSLog("Sonido de cuerdas desactivado");
        return;
    }
    const std::string_view recording = recordingForString(stringIndex);
    if (recording.empty()) return;
    // Replacing the player silences the old sound, even when the new recording cannot be read.
    stringPlayer_ = playerForResource(recording);
    if (stringPlayer_) stringPlayer_->play();
}

void StringSounds::toggleStringSounds(platform::Switch& sender) {
    applySettingSwitch(sender, stringSoundsOn_, kStringSoundsEnabledKey);
}

void StringSounds::showControlsEnabled(const std::shared_ptr<platform::View>& screen) const {
    for (const StringControl& string : kStrings) {
        for (const auto& control : platform::controlsSending(screen, string.selector)) {
            control->setEnabled(stringSoundsOn_);
        }
    }
}

std::map<std::string, platform::Control::Action> StringSounds::actions() {
    std::map<std::string, platform::Control::Action> table;
    for (size_t i = 0; i < kStrings.size(); ++i) {
        const auto stringIndex = static_cast<int64_t>(i + 1);
        table.emplace(kStrings[i].selector, [this, stringIndex](platform::Control*) { playStringSound(stringIndex); });
    }
    table.emplace("toggleStringSounds:", platform::actionFor(this, &StringSounds::toggleStringSounds));
    return table;
}

}  // namespace sound
