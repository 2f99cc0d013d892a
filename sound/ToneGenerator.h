#pragma once
// The tuner screen's reference-tone output: the output unit that plays the
// synthesiser, and the waveform selector its render callback reads. The
// screen owns one and forwards setupAudio and its tone properties to it.

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/audio/AudioOutputUnit.h"

namespace sound {

class ToneGenerator {
public:
    // Values of curTone; any other value means the sine alone.
    static constexpr uint64_t kSineOnly = 0;
    static constexpr uint64_t kTriangle = 1;
    static constexpr uint64_t kSawtooth = 2;
    static constexpr uint64_t kSquare = 3;

    ToneGenerator() = default;
    // Stops and disposes of the tone unit when this generator set it up, so
    // no audio thread is left holding this generator as its context.
    ~ToneGenerator();
    ToneGenerator(const ToneGenerator&) = delete;
    ToneGenerator& operator=(const ToneGenerator&) = delete;

    // Stops and disposes of the unit of the previous set-up, whichever
    // generator made it, so only one unit ever renders and no tone is left
    // playing out of reach of the stop button. Then makes a new unit of the output
    // component, gives it the tone's format and this generator's render
    // callback, and initialises it; it stays stopped. A failure leaves no
    // tone and says nothing.
    void setupAudio();

    // The unit of the latest set-up, one for the whole program; null before
    // the first set-up or once the generator that made it is gone.
    static platform::AudioOutputUnit* toneUnit();

    // The waveform blended with the sine; read by the render callback.
    uint64_t curTone() const { return curTone_.load(std::memory_order_relaxed); }
    void setCurTone(uint64_t curTone) { curTone_.store(curTone, std::memory_order_relaxed); }

    // Declared for the screen and used by nothing: the blend and the output
    // level are fixed.
    int64_t curToneType() const { return curToneType_; }
    void setCurToneType(int64_t curToneType) { curToneType_ = curToneType; }
    float harmPct() const { return harmPct_.load(std::memory_order_relaxed); }
    void setHarmPct(float harmPct) { harmPct_.store(harmPct, std::memory_order_relaxed); }
    float outGain() const { return outGain_.load(std::memory_order_relaxed); }
    void setOutGain(float outGain) { outGain_.store(outGain, std::memory_order_relaxed); }

private:
    std::atomic<uint64_t> curTone_{kSineOnly};
    int64_t curToneType_ = 0;
    std::atomic<float> harmPct_{0.0f};
    std::atomic<float> outGain_{0.0f};
};

}  // namespace sound
