#pragma once
// The needle between two of the guide's readings: rather than jumping to each
// reading as it comes (some 27 a second, one every 3.7 ticks of the screen),
// it glides there in even steps over the next kGlideTicks ticks, so that a peg
// turned slowly moves it smoothly. A needle that
// comes into view, changes course or goes past the scale's ends is put where
// it belongs at once: gliding there would show offsets nothing measured.
// Main thread only.

#include <optional>

namespace tuner {

class NeedleEase {
public:
    // Ticks to reach a reading: there before the next reading comes.
    static constexpr int kGlideTicks = 3;

    // Where the needle is to go: `value` on the scale from `minimum` to
    // `maximum`, for course `course` (any number that tells courses apart).
    void aim(float value, int course, float minimum, float maximum);
    // No needle.
    void clear();
    // One tick: where the needle stands now; none while there is no needle.
    std::optional<float> step();

private:
    std::optional<float> shown_;
    float target_ = 0.0f;
    int course_ = 0;
    int ticksLeft_ = 0;
};

}  // namespace tuner
