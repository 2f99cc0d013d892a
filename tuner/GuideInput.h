#pragma once
// Where the tuning guide on the screen takes its readings from: the guide's
// own stream of the captured sound (guide/GuideStream.h), read hop by hop
// beside the pitch detector and apart from it. The program reads the shared
// stream on the capture; a test may hand readings of its own.
//
// Main thread only.

#include <cstddef>
#include <memory>
#include <optional>
#include <span>

#include "guide/GuideReading.h"

namespace tuner {

class GuideInput {
public:
    virtual ~GuideInput() = default;
    // Starts listening to the capture.
    virtual void listen() = 0;
    // Moves the readings made since the last take into `out`, oldest first,
    // as many as it holds, and answers how many.
    virtual size_t takeReadings(std::span<guide::GuideReading> out) = 0;
    // Samples a second in the readings' `heard`.
    virtual double sampleRate() const = 0;
    // Reads every string from now on as course `course` (1 to 5), however far
    // from its pitch, or, with none, as the nearest course.
    virtual void choose(std::optional<int> course) = 0;

    // The guide's stream on the capture, which starts with the first listen().
    static std::shared_ptr<GuideInput> sharedStream();
};

}  // namespace tuner
