#pragma once
// The reference tone's process-wide values: its pitch, the share of the
// selected waveform in the blend, and the running state of the oscillators.
// There is one copy for the whole program, however many tuner screens exist.

#include <atomic>

namespace sound {

// Pitch of the tone in hertz. Written whole by the tuning fork on the main
// thread, read by the render callback for every frame.
extern std::atomic<float> toneFrequency;

// Share, in per cent, of the selected waveform against the sine: the tone is
// half sine, half the selected waveform.
inline constexpr float harmonicMixPercent = 50.0f;

// Advanced only by the render callback, one step per frame. Nothing resets it
// while the tuner runs: a tone that starts again continues where the last
// one stopped.
struct ToneOscillators {
    double phaseIncrement = 0.0;     // cycles per frame, from toneFrequency
    double sinePhase = 0.0;          // radians, 0 to 2π
    double triangleValue = 0.0;      // -1 to 1
    float triangleDirection = 1.0f;  // +1 while the triangle rises, -1 while it falls
    double sawtoothValue = 0.0;      // above -1, at most 1
    double squareValue = 0.0;        // +1 or -1 once the first frame is rendered
};
extern ToneOscillators toneOscillators;

// Puts the pitch and the oscillators back as they are when the program
// starts, for a tone rendered from the beginning (into a file, say). Only
// while no unit renders.
void restartToneOscillators();

}  // namespace sound
