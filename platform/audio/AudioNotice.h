#pragma once
// What the user should know about the sound beside the screen itself: the
// microphone lost and being reconnected, the demo recording standing in for a
// missing microphone, no loudspeaker to play on. One notice at a time; the
// desktop window shows it above the screen, and whoever sets it has said the
// same once on the console. Harmless when nobody observes it.

#include <functional>
#include <string>

namespace platform {

// Called with the new notice (empty when it clears), on the thread that set it.
using AudioNoticeObserver = std::function<void(const std::string& notice)>;

// Any thread. Replaces the notice; an empty text clears it.
void setAudioNotice(const std::string& notice);
// Any thread. Clears the notice only if it is still `notice`, so that one
// cause clearing its notice leaves another cause's in place.
void clearAudioNotice(const std::string& notice);
// Any thread. The notice now; empty when there is none.
std::string audioNotice();
// Installs the observer (none when empty); it is told the current notice at once.
void setAudioNoticeObserver(AudioNoticeObserver observer);

}  // namespace platform
