#pragma once
// The microphones a user may choose from in the window, and the choice, as
// the desktop's audio offers them. The window asks through this so that it
// needs to know nothing of the audio library; nothing offered (the console,
// tests, a recording standing in for the microphone) means nothing to choose.
// Main thread.

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct MicrophoneChoice {
    // The names of the inputs there are now.
    std::function<std::vector<std::string>()> microphones;
    // The chosen one's name; empty for the default.
    std::function<std::string()> chosen;
    // Listens to this one from now on and remembers it for the next run.
    std::function<void(const std::string& name)> choose;

    bool offered() const { return microphones && chosen && choose; }
};

// Installs what is offered (an empty choice withdraws it).
void setMicrophoneChoice(MicrophoneChoice choice);
MicrophoneChoice microphoneChoice();

}  // namespace platform
