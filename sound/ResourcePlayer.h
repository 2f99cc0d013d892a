#pragma once
// Players of the sound files among the application's resources.

#include <memory>
#include <string_view>

#include "platform/audio/AudioPlayer.h"

namespace sound {

// A new player of the resource `fileName` ("beep-full.wav"): the file of that
// name in the main bundle's resource folder. Null when it is missing or unreadable.
std::unique_ptr<platform::AudioPlayer> playerForResource(std::string_view fileName);

}  // namespace sound
