#pragma once
// Recordings made by tests: 16-bit PCM WAV files at any rate and channel count.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace platform_testing {

// The size of the canonical header written before the samples.
inline constexpr uintmax_t kWaveHeaderBytes = 44;

// Writes interleaved samples to `path` as a canonical 16-bit PCM WAV file
// (little-endian, as the machines the tests run on); fails the calling test
// if it cannot.
inline void writeWave(const std::filesystem::path& path, std::span<const int16_t> interleaved, uint32_t sampleRate,
                      uint16_t channels = 1) {
    const auto dataBytes = static_cast<uint32_t>(interleaved.size() * sizeof(int16_t));
    const auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    const auto le16 = [](uint32_t v) { return std::string{char(v), char(v >> 8)}; };
    const std::string header = "RIFF" + le32(36 + dataBytes) + "WAVEfmt " + le32(16) + le16(1) + le16(channels) +
                               le32(sampleRate) + le32(sampleRate * channels * 2u) + le16(channels * 2u) + le16(16) +
                               "data" + le32(dataBytes);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(out) << "cannot write " << path;
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(interleaved.data()), static_cast<std::streamsize>(dataBytes));
    ASSERT_TRUE(out.good()) << "cannot write " << path;
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
