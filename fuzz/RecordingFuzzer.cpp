// The recording reader and its conversion to the capture rate, on any bytes
// as a sound file: whatever libsndfile makes of them must come back as samples
// or as a reason, never as a crash, a sanitizer report or a hang.

#include <cstdint>
#include <string>

#include "fuzz/FuzzFiles.h"
#include "platform/audio/desktop/RecordingDecoder.h"

namespace {
// The tuner's capture rate (pitch::kCaptureSampleRate), which the platform cannot include.
constexpr double kCaptureRate = 14039.0;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto path = fuzzing::inputFile("recording", data, size);
    std::string error;
    if (const auto recording = platform::media::readMonoRecording(path, error)) {
        platform::media::captureSamples(*recording, kCaptureRate, error);
    }
    return 0;
}
