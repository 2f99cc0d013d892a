#pragma once
// Recordings made by tests: 16-bit PCM WAV files at any rate and channel count.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/audio/WavWriter.h"

namespace platform_testing {

// The size of the header platform::WavWriter writes before the samples.
inline constexpr uintmax_t kWaveHeaderBytes = 44;

// Writes interleaved samples to `path`; fails the calling test if it cannot.
inline void writeWave(const std::filesystem::path& path, std::span<const int16_t> interleaved, uint32_t sampleRate,
                      uint16_t channels = 1) {
    std::string error;
    auto writer = platform::WavWriter::create(path, sampleRate, channels, error);
    ASSERT_TRUE(writer) << error;
    // The writer is handed nothing at all for a recording with no samples.
    if (!interleaved.empty()) {
        ASSERT_TRUE(writer->write(interleaved)) << writer->error();
    }
    ASSERT_TRUE(writer->finish()) << writer->error();
}

// Two channels as one interleaved stream.
inline std::vector<int16_t> interleave(std::span<const int16_t> left, std::span<const int16_t> right) {
    std::vector<int16_t> frames;
    frames.reserve(2 * left.size());
    for (size_t i = 0; i < left.size(); ++i) {
        frames.push_back(left[i]);
        frames.push_back(right[i]);
    }
    return frames;
}

}  // namespace platform_testing
