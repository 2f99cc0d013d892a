#pragma once
// A process-wide hook told when a sound-file player starts a sound, so a
// frontend can show it (the console prints `play=beep-full.wav`). Harmless when
// nothing is installed.
//
// Main thread only: players start sounds on `play`, which the screens send there.

#include <functional>
#include <string>
#include <utility>

namespace platform {

// Receives the sound file's name, e.g. "beep-full.wav".
using PlaybackObserver = std::function<void(const std::string& fileName)>;

namespace detail {
inline PlaybackObserver& playbackObserverSlot() {
    static PlaybackObserver observer;
    return observer;
}
}  // namespace detail

// Installs the observer (none when empty); returns the previous one.
inline PlaybackObserver setPlaybackObserver(PlaybackObserver observer) {
    return std::exchange(detail::playbackObserverSlot(), std::move(observer));
}

// Called by a player when `play` starts its sound.
inline void notifySoundStarted(const std::string& fileName) {
    if (const auto& observer = detail::playbackObserverSlot()) observer(fileName);
}

}  // namespace platform
