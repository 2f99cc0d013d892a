#pragma once
// A whole recording as capture samples, read through the streaming reader.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/audio/desktop/RecordingStream.h"

namespace platform_testing {

// Every sample of the recording at `path` at `rate`; fails the calling test
// (and answers nothing) when the recording cannot be read.
inline std::vector<int16_t> captureSamples(const std::filesystem::path& path, double rate) {
    std::string error;
    const auto stream = platform::audio::desktop::RecordingStream::open(path, rate, error);
    EXPECT_TRUE(stream) << error;
    std::vector<int16_t> samples;
    if (!stream) return samples;
    // An odd size, so that reads end across the stream's own pieces.
    std::array<int16_t, 1000> part{};
    for (size_t got; (got = stream->read(part)) > 0;) samples.insert(samples.end(), part.begin(), part.begin() + got);
    return samples;
}

}  // namespace platform_testing
