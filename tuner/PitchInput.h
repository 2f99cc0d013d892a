#pragma once
// Where the tuning loop takes its readings from: the level and the frequency
// of the latest captured sound. The program reads the shared pitch detector;
// a test may put readings of its own in its place.
//
// Main thread only.

#include <memory>

namespace tuner {

class PitchInput {
public:
    virtual ~PitchInput() = default;
    // Starts capturing.
    virtual void listen() = 0;
    // The level of the latest buffer on the meter's linear scale, 0.0 to 1.0.
    virtual float averagePower() = 0;
    // The estimated frequency of the latest buffer in hertz; 0.0 when there is none.
    virtual float frequency() = 0;

    // The readings of the shared pitch detector, which is made on first use.
    static std::shared_ptr<PitchInput> sharedListener();
};

}  // namespace tuner
