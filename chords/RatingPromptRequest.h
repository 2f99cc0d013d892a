#pragma once
// How the chord screen asks the rating prompt to show itself (the prompt then
// applies its own conditions). The launch code points it at the rating prompt;
// until it does, a request does nothing.
//
// Main thread only.

#include <functional>

namespace chords {

// Installs what a request calls; none to ignore requests.
void setRatingPromptRequest(std::function<void()> request);

// The chord screen's default way of asking: calls what was installed.
void requestRatingPrompt();

}  // namespace chords
