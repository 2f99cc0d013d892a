#pragma once
// Which of the five detectable pitches the tuning loop has confirmed: tuned
// at least once, and beeped since the beep was last re-armed. One copy for
// the whole program, whichever tuner screen confirms: the re-arms are delayed
// calls that may run after the screen that scheduled them is gone, and the
// rating prompt waits until every pitch has been tuned in this process.
// Main thread only.

#include <array>
#include <cstddef>
#include <memory>

namespace sound {

// The detectable pitches, numbered 1 to 5 from the highest course: E5, A4, E4, C5, G4.
inline constexpr size_t kPitchCount = 5;

class PitchConfirmations {
public:
    // By pitch: pitch k at index k - 1.
    using Flags = std::array<bool, kPitchCount>;

    // The program's one copy, made on first use. A test that stands for a
    // freshly started program makes its own.
    static std::shared_ptr<PitchConfirmations> shared();

    // Pitch k has been confirmed at least once (stringTunedOnce).
    const Flags& stringTunedOnce() const { return stringTunedOnce_; }
    // Pitch k has beeped since the last resetTuningBools (beepPlayed).
    const Flags& beepPlayed() const { return beepPlayed_; }
    bool everyPitchTunedOnce() const;

    // Mark pitch `k` (1 to 5; others are ignored) as tuned once, or as beeped.
    void setTunedOnce(size_t k);
    void setBeepPlayed(size_t k);

    // Lets every pitch beep again.
    void resetTuningBools() { beepPlayed_.fill(false); }
    // Forgets which pitches have been tuned once; nothing in the program calls it.
    void resetFirstTuning() { stringTunedOnce_.fill(false); }

private:
    Flags stringTunedOnce_{};
    Flags beepPlayed_{};
};

}  // namespace sound
