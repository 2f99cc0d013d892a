#include "sound/ToneOscillators.h"

namespace sound {
namespace {
constexpr float kStartFrequency = 440.0f;
}

std::atomic<float> toneFrequency{kStartFrequency};
ToneOscillators toneOscillators;

void restartToneOscillators() {
    toneFrequency.store(kStartFrequency, std::memory_order_relaxed);
    toneOscillators = ToneOscillators{};
}

}  // namespace sound
