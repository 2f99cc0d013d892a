#pragma once
// The synthesiser: the render callback that computes every frame of the
// reference tone from the process-wide oscillators, and the frame format it
// produces.

#include "platform/audio/AudioOutputUnit.h"

namespace sound {

// 44100 frames per second, each one 32-bit word of two signed 16-bit samples
// (left in the low half), the same in both channels.
inline constexpr platform::AudioStreamBasicDescription kToneStreamFormat{
    44100.0,
    platform::kAudioFormatLinearPCM,
    platform::kLinearPCMFormatFlagIsSignedInteger | platform::kLinearPCMFormatFlagIsPacked,
    4,
    1,
    4,
    2,
    16,
    0};

// Runs on the output's audio thread. `context` is the ToneGenerator whose
// waveform selector applies. Fills every buffer with `frameCount` frames of
// the sine blended half and half with the selected waveform, the second
// buffer continuing where the first ended, advancing the oscillators one step
// per frame. Reads toneFrequency afresh for every frame; allocates nothing,
// locks nothing, logs nothing, and always returns 0.
platform::AudioStatus toneRenderCallback(void* context, platform::AudioUnitRenderActionFlags* actionFlags,
                                         const platform::AudioTimeStamp* timeStamp, uint32_t busNumber,
                                         uint32_t frameCount, platform::AudioBufferList buffers);

}  // namespace sound
