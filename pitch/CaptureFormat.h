#pragma once
// What the pitch detector captures: signed 16-bit, packed, mono linear PCM at
// 14039 Hz, in three buffers of 8192 bytes (4096 samples, about 0.29 s each).
// The tests, the benchmarks and the fuzzer take the rate and the format from
// here too.

#include <cstdint>

#include "platform/audio/AudioTypes.h"

namespace pitch {

inline constexpr double kCaptureSampleRate = 14039.0;
inline constexpr uint32_t kCaptureBufferBytes = 8192;
inline constexpr int kCaptureBufferCount = 3;

// The capture format at `sampleRate`.
constexpr platform::AudioStreamBasicDescription captureFormat(double sampleRate = kCaptureSampleRate) {
    platform::AudioStreamBasicDescription format;
    format.mSampleRate = sampleRate;
    format.mFormatID = platform::kAudioFormatLinearPCM;
    format.mFormatFlags = platform::kLinearPCMFormatFlagIsSignedInteger | platform::kLinearPCMFormatFlagIsPacked;
    format.mBytesPerPacket = 2;
    format.mFramesPerPacket = 1;
    format.mBytesPerFrame = 2;
    format.mChannelsPerFrame = 1;
    format.mBitsPerChannel = 16;
    return format;
}

}  // namespace pitch
