#pragma once
// What the user should know about the sound beside the screen itself: the
// microphone lost and being reconnected, the demo recording standing in for a
// missing microphone, no loudspeaker to play on, a device that would not
// open. Several may stand at once, in the order they came; the desktop window
// shows each in a row of its own above the screen, and the user may dismiss
// any. Whoever shows one has said the same once on stderr. Harmless when
// nobody observes the notices.

#include <functional>
#include <string>
#include <vector>

namespace platform {

// Called with the notices now standing, oldest first, on the thread that changed them.
using AudioNoticeObserver = std::function<void(const std::vector<std::string>& notices)>;

// Any thread. Adds `notice` after the others, unless it stands already.
void showAudioNotice(const std::string& notice);
// Any thread. Removes `notice` only, so that one cause clearing its notice
// leaves another cause's in place; what the user dismisses goes the same way.
void clearAudioNotice(const std::string& notice);
// Any thread. The notices standing now, oldest first.
std::vector<std::string> audioNotices();
// Installs the observer (none when empty); it is told the current notices at once.
void setAudioNoticeObserver(AudioNoticeObserver observer);

// Any thread. Says `said` ("the audio input cannot start: …") on stderr and
// shows it as a notice, begun with a capital letter as a sentence is.
// Returns the notice as shown, for clearing it later.
std::string tellOnStderrAndInWindow(const std::string& said);

}  // namespace platform
