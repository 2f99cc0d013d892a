#include "sound/ToneRenderCallback.h"

#include <cmath>
#include <cstring>

#include "sound/ToneGenerator.h"
#include "sound/ToneOscillators.h"

namespace sound {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr float kSampleRate = 44100.0f;
// A unit of mix becomes mix ÷ 2π × 32767 × 6 × 0.95 ≈ 29725.67, so the
// loudest sample is 29725 and nothing needs clipping.
constexpr double kFullScale = 32767.0;
constexpr double kGain = 6.0;
constexpr double kHeadroom = 0.95;

// The waveform that the selector blends with the sine; any unknown selector
// means the sine alone.
double selectedWaveform(uint64_t selector, double sine, const ToneOscillators& state) {
    switch (selector) {
        case ToneGenerator::kSquare: return state.squareValue;
        case ToneGenerator::kSawtooth: return state.sawtoothValue;
        case ToneGenerator::kTriangle: return state.triangleValue;
        default: return sine;
    }
}

// One frame: its sample, then the oscillators' step to the next frame. The
// order and the width of every operation fix the samples to the bit.
int16_t nextSample(uint64_t selector, ToneOscillators& state) {
    state.phaseIncrement = static_cast<double>(toneFrequency.load(std::memory_order_relaxed) / kSampleRate);
    const double sine = std::sin(state.sinePhase);
    const double waveform = selectedWaveform(selector, sine, state);
    const double mix = sine + ((waveform - sine) * static_cast<double>(harmonicMixPercent)) / 100.0;
    const auto sample = static_cast<int32_t>(mix / kTwoPi * kFullScale * kGain * kHeadroom);

    double phase = state.sinePhase + state.phaseIncrement * kTwoPi;
    if (phase > kTwoPi) phase -= kTwoPi;
    state.sinePhase = phase;

    // The triangle climbs 4 units per cycle, the sawtooth 2, both from 0 and
    // rising, so both stay in phase with the sine.
    const double step = static_cast<double>(state.triangleDirection * 4.0f);
    const double triangle = std::fma(step, state.phaseIncrement, state.triangleValue);
    if (std::fabs(triangle) > 1.0) {
        // Reflected: it lands as far inside the bound as it went past it.
        state.triangleValue = (2.0 - std::fabs(triangle)) * static_cast<double>(state.triangleDirection);
        state.triangleDirection = -state.triangleDirection;
    } else {
        state.triangleValue = triangle;
    }

    double sawtooth = std::fma(state.phaseIncrement, 2.0, state.sawtoothValue);
    if (sawtooth > 1.0) sawtooth -= 2.0;
    state.sawtoothValue = sawtooth;

    state.squareValue = phase <= kPi ? 1.0 : -1.0;
    // Samples never leave the 16-bit range; the cast keeps the low 16 bits.
    return static_cast<int16_t>(sample);
}

}  // namespace

// Built twice, for processors with a fused multiply-add instruction and for
// those without, everything it calls inlined into each: std::fma is exact
// either way, but the instruction is cheaper than the library's call.
[[gnu::target_clones("fma", "default"), gnu::flatten]]
platform::AudioStatus toneRenderCallback(void* context, platform::AudioUnitRenderActionFlags* /*actionFlags*/,
                                         const platform::AudioTimeStamp* /*timeStamp*/, uint32_t /*busNumber*/,
                                         uint32_t frameCount, platform::AudioBufferList buffers) {
    const auto& generator = *static_cast<const ToneGenerator*>(context);
    // Kept in registers for the call; this thread alone writes the oscillators.
    ToneOscillators state = toneOscillators;
    for (platform::AudioBuffer& buffer : buffers) {
        auto* frame = static_cast<unsigned char*>(buffer.mData);
        for (uint32_t i = 0; i < frameCount; ++i) {
            const int16_t sample = nextSample(generator.curTone(), state);
            const int16_t channels[2] = {sample, sample};
            std::memcpy(frame, channels, sizeof channels);
            frame += sizeof channels;
        }
    }
    toneOscillators = state;
    return platform::kAudioNoError;
}

}  // namespace sound
