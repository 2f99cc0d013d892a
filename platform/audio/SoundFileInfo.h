#pragma once
// What a sound file's headers say about it — sample rate, channels and length —
// read without decoding a sample. The plain player uses it to know whether a
// file is a sound at all and how long it would sound.
//
// Understands RIFF/WAVE files (PCM or float samples) and MPEG audio layer III
// ("MP3") files, with or without an ID3v2 tag in front and a Xing/Info frame.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace platform {

struct SoundFileInfo {
    uint32_t sampleRate = 0;  // frames per second
    uint32_t channels = 0;
    uint64_t frames = 0;
    double duration() const { return sampleRate == 0 ? 0.0 : static_cast<double>(frames) / sampleRate; }
};

// The file's description; none when it is missing, unreadable, or neither a
// WAVE nor an MP3 file with at least one frame of sound.
std::optional<SoundFileInfo> soundFileInfo(const std::filesystem::path& file);

}  // namespace platform
