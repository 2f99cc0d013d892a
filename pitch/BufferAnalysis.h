#pragma once
// The detector over a whole recording: consecutive capture buffers from the
// first sample, each passed through the capture path (setAudioBuffer, then
// frequency) as if it had just been captured.

#include <cstdint>
#include <functional>
#include <span>

#include "pitch/PitchEstimator.h"

namespace pitch {

struct BufferEstimate {
    double time;      // seconds from the recording's start to the buffer's first sample
    int bin;          // the spectrum bin the estimate came from
    float frequency;  // hertz
    float level;      // the buffer's average level, as the meter reads it
    double refinedFrequency;  // hertz, to a fraction of a bin, for the tuning guide
};

using EstimateReport = std::function<void(const BufferEstimate&)>;

// Reports one estimate per buffer of kAnalysedBytes (4096 samples); a last,
// shorter buffer is analysed with its own length. `samples` are at the
// detector's sample rate.
void analyzeBuffers(PitchEstimator& detector, std::span<const int16_t> samples, const EstimateReport& report);

// Fills `samples` from the front with the recording's next samples; answers
// how many, fewer than asked only at its end.
using SampleSource = std::function<size_t(std::span<int16_t> samples)>;

// The same over a recording read buffer by buffer from `source` (at
// `sampleRate`), estimated on up to `jobs` threads (never more than
// platform::kMostParallelJobs, nor than there are buffers), each with a
// detector of its own.
// The buffers do not depend on each other, so the reports are exactly those of
// one thread, in the same order, on the calling thread.
void analyzeBuffers(double sampleRate, const SampleSource& source, unsigned jobs, const EstimateReport& report);

}  // namespace pitch
