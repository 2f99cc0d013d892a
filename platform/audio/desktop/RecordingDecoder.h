#pragma once
// Recordings as capture samples: any file libsndfile reads (WAV, FLAC, Ogg,
// MP3, ...), its channels mixed down to one, then converted to the capture
// rate and to signed 16-bit samples. A damaged or truncated file gives what
// can be read of it; a file that holds no sound gives a reason instead.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace platform::media {

struct MonoRecording {
    std::vector<float> samples;  // ±1.0 full scale, the mean of the channels
    double sampleRate = 0.0;
};

// The recording at `path` mixed down to one channel. On failure `error` says
// why in a few words ("no such file", "is empty", "is not a sound file (...)").
std::optional<MonoRecording> readMonoRecording(const std::filesystem::path& path, std::string& error);

// The recording at `sampleRate` as signed 16-bit samples; fails (with
// `error`) only when libsamplerate cannot convert between the two rates.
std::optional<std::vector<int16_t>> captureSamples(const MonoRecording& recording, double sampleRate,
                                                   std::string& error);

}  // namespace platform::media
