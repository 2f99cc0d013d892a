#pragma once
// The audio types the capture queue and the output unit share: statuses,
// four-character codes, stream formats and time stamps.

#include <cstdint>

namespace platform {

// Audio statuses: 0 for success, a negative code for a refused call.
using AudioStatus = int32_t;

constexpr uint32_t fourCharCode(const char (&code)[5]) {
    return static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(code[3]));
}

inline constexpr AudioStatus kAudioNoError = 0;
inline constexpr AudioStatus kAudioFormatUnsupported = static_cast<AudioStatus>(fourCharCode("fmt?"));

inline constexpr uint32_t kAudioFormatLinearPCM = fourCharCode("lpcm");
inline constexpr uint32_t kLinearPCMFormatFlagIsFloat = 1;
inline constexpr uint32_t kLinearPCMFormatFlagIsSignedInteger = 4;
inline constexpr uint32_t kLinearPCMFormatFlagIsPacked = 8;
inline constexpr uint32_t kLinearPCMFormatFlagIsNonInterleaved = 32;

// A stream format. Queues capture signed 16-bit, packed, mono linear PCM at
// any positive sample rate; output units play 16-bit interleaved frames.
struct AudioStreamBasicDescription {
    double mSampleRate = 0.0;
    uint32_t mFormatID = 0;
    uint32_t mFormatFlags = 0;
    uint32_t mBytesPerPacket = 0;
    uint32_t mFramesPerPacket = 0;
    uint32_t mBytesPerFrame = 0;
    uint32_t mChannelsPerFrame = 0;
    uint32_t mBitsPerChannel = 0;
    uint32_t mReserved = 0;
};

// Position of a buffer's first sample, counted in samples since the queue
// first started.
struct AudioTimeStamp {
    double mSampleTime = 0.0;
};

}  // namespace platform
