#include "pitch/BufferAnalysis.h"

#include <algorithm>

#include "platform/audio/AudioQueue.h"

namespace pitch {

void analyzeBuffers(PitchEstimator& detector, std::span<const int16_t> samples,
                    const std::function<void(const BufferEstimate&)>& report) {
    constexpr size_t kBufferSamples = PitchEstimator::kAnalysedBytes / sizeof(int16_t);
    for (size_t first = 0; first < samples.size(); first += kBufferSamples) {
        const auto buffer = samples.subspan(first, std::min(kBufferSamples, samples.size() - first));
        detector.setAudioBuffer(buffer.data(), static_cast<uint32_t>(buffer.size_bytes()));
        const float frequency = detector.frequency();
        report(BufferEstimate{static_cast<double>(first) / detector.sampleRate(), detector.binOfFrequency(frequency),
                              frequency, platform::measureLevel(buffer).mAveragePower, detector.refinedFrequency()});
    }
}

}  // namespace pitch
