#pragma once
// Pulls frames of the tone straight from the render callback, the way an
// output unit does, and checks that both channels of every frame agree.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "sound/ToneGenerator.h"
#include "sound/ToneRenderCallback.h"

namespace sound_tests {

// The left channel of one callback filling `bufferCount` buffers of
// `frameCount` frames each, the buffers' frames in order. A frame is one
// 32-bit word with the left sample in its low half.
inline std::vector<int16_t> renderTone(sound::ToneGenerator& generator, uint32_t frameCount, size_t bufferCount = 1) {
    std::vector<uint32_t> words(size_t{frameCount} * bufferCount);
    std::vector<platform::AudioBuffer> buffers;
    for (size_t i = 0; i < bufferCount; ++i) {
        buffers.push_back({2, frameCount * 4, words.data() + i * frameCount});
    }
    const auto status = sound::toneRenderCallback(&generator, nullptr, nullptr, 0, frameCount, buffers);
    EXPECT_EQ(status, platform::kAudioNoError);
    std::vector<int16_t> left;
    for (uint32_t word : words) {
        const auto low = static_cast<int16_t>(word & 0xffff);
        const auto high = static_cast<int16_t>(word >> 16);
        EXPECT_EQ(low, high) << "left and right differ";
        left.push_back(low);
    }
    return left;
}

}  // namespace sound_tests
