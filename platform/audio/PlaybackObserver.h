#pragma once
// A process-wide hook told when a sound-file player starts a sound, so a
// frontend can show it (the console prints `play=beep-full.wav`). Harmless when
// nothing is installed.
//
// Main thread only: players start sounds on `play`, which the screens send there.

#include <functional>
#include <string>

namespace platform {

// Receives the sound file's name, e.g. "beep-full.wav".
using PlaybackObserver = std::function<void(const std::string& fileName)>;

// Installs the observer (none when empty); returns the previous one.
PlaybackObserver setPlaybackObserver(PlaybackObserver observer);

// Called by a player when `play` starts its sound.
void notifySoundStarted(const std::string& fileName);

}  // namespace platform
