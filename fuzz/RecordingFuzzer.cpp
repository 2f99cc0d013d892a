// The streaming recording reader and its conversion to the capture rate, on
// any bytes as a sound file: whatever libsndfile makes of them must come back
// as samples or as a reason, never as a crash, a sanitizer report or a hang.

#include <cstdint>
#include <string>

#include "fuzz/FuzzFiles.h"
#include <array>

#include "platform/audio/desktop/RecordingStream.h"

namespace {
// The tuner's capture rate (pitch::kCaptureSampleRate), which the platform cannot include.
constexpr double kCaptureRate = 14039.0;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto path = fuzzing::inputFile("recording", data, size);
    std::string error;
    const auto stream = platform::audio::desktop::RecordingStream::open(path, kCaptureRate, error);
    if (!stream) return 0;
    std::array<int16_t, 4096> part{};
    while (stream->read(part) > 0) {
    }
    return 0;
}
