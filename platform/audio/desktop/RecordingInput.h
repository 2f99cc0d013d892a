#pragma once
// A recording standing in for the microphone: once installed, every new input
// queue hears the recording from its first sample (after a stop, from where it
// stopped; a recording through a pipe, which cannot go back, from where the
// last queue left it), converted to the queue's format, and silence after its
// end. The recording is decoded a buffer at a time as the queue hands buffers
// over, so the first comes at once and memory does not grow with its length.
// Each buffer is handed over when its last sample is due by the main run
// loop's clock — in real time on a real clock, by a thread of the
// recording's own that leaves the main thread asleep; on a virtual clock the
// recording and the loop's timers advance together, as fast as the machine
// goes, each buffer in place before a timer due with it runs.

#include <filesystem>
#include <optional>
#include <string>

namespace platform::audio::desktop {

struct InstalledRecording {
    // The length the recording's header states, when it states one.
    std::optional<double> seconds;
};

// Nothing (and `error` says why) when the file holds no readable sound; the
// factory installed before stays in place then.
std::optional<InstalledRecording> installRecordingInput(const std::filesystem::path& path, std::string& error);

}  // namespace platform::audio::desktop
