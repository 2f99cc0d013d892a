#pragma once
// What each of the two sound switches of the tuner's settings does when
// flipped: its state becomes the in-memory setting and the stored one.

#include "platform/ui/Controls.h"

namespace sound {

// Takes the switch's state into `flag`, stores it as a boolean under `key`,
// writes the settings through and logs the new value.
void applySettingSwitch(const platform::Switch& sender, bool& flag, const char* key);

}  // namespace sound
