#pragma once
// A recording standing in for the microphone: once installed, every new input
// queue hears the recording from its first sample (after a stop, from where it
// stopped), converted to the queue's format, and silence after its end. Each buffer is handed over
// when its last sample is due by the main run loop's clock — in real time on a
// real clock; on a virtual clock the recording and the loop's timers advance
// together, as fast as the machine goes.

#include <filesystem>
#include <string>

namespace platform::media {

// False (and `error` says why) when the file holds no readable sound; the
// factory installed before stays in place then.
bool installRecordingInput(const std::filesystem::path& path, std::string& error);

}  // namespace platform::media
