#include "pitch/BufferAnalysis.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/core/OrderedParallelMap.h"

namespace pitch {
namespace {

constexpr size_t kBufferSamples = PitchEstimator::kAnalysedBytes / sizeof(int16_t);

BufferEstimate estimate(PitchEstimator& detector, std::span<const int16_t> buffer, size_t first) {
    detector.setAudioBuffer(buffer.data(), static_cast<uint32_t>(buffer.size_bytes()));
    const float frequency = detector.frequency();
    return BufferEstimate{static_cast<double>(first) / detector.sampleRate(), detector.binOfFrequency(frequency),
                          frequency, detector.level().mAveragePower, detector.refinedFrequency()};
}

// One buffer of the recording and where it starts.
struct Buffer {
    std::vector<int16_t> samples;
    size_t first = 0;
};

}  // namespace

void analyzeBuffers(PitchEstimator& detector, std::span<const int16_t> samples, const EstimateReport& report) {
    for (size_t first = 0; first < samples.size(); first += kBufferSamples) {
        report(estimate(detector, samples.subspan(first, std::min(kBufferSamples, samples.size() - first)), first));
    }
}

void analyzeBuffers(double sampleRate, const SampleSource& source, unsigned jobs, const EstimateReport& report) {
    jobs = std::clamp(jobs, 1u, platform::kMostParallelJobs);
    // Made by each worker as it takes its first buffer, so that only the
    // workers a recording keeps busy cost a detector's memory.
    std::vector<std::unique_ptr<PitchEstimator>> detectors(jobs);
    size_t position = 0;
    platform::orderedParallelMap<Buffer, BufferEstimate>(
        jobs,
        [&](Buffer& buffer) {
            buffer.samples.resize(kBufferSamples);
            const size_t count = source(buffer.samples);
            buffer.samples.resize(count);
            buffer.first = position;
            position += count;
            return count > 0;
        },
        [&](unsigned worker, const Buffer& buffer) {
            auto& detector = detectors[worker];
            if (!detector) detector = std::make_unique<PitchEstimator>(sampleRate);
            return estimate(*detector, buffer.samples, buffer.first);
        },
        report);
}

}  // namespace pitch
