// The pitch detector's costs: one estimate with the FFT configuration made
// per request (as the chain first did) and reused (as it does now), a tick
// that finds no new buffer, and a minute of sound through the analysis.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "pitch/BufferAnalysis.h"
#include "pitch/PitchEstimator.h"
#include "pitch/RealFft.h"
#include "tests/pitch/PluckedString.h"

namespace {

using pitch::PitchEstimator;
using pitch_testing::kCaptureRate;

constexpr uint32_t kBufferBytes = PitchEstimator::kAnalysedBytes;

const std::vector<int16_t>& pluckedA4() {
    static const auto samples = pitch_testing::pluckedString({.frequency = pitch_testing::kA4}, kBufferBytes / 2);
    return samples;
}

void BM_EstimateFreshConfig(benchmark::State& state) {
    auto detector = std::make_unique<PitchEstimator>(kCaptureRate);
    for (auto _ : state) {
        // The configuration made and freed around every request: the same
        // work as the chain that allocated, transformed and freed each time.
        pitch::RealFft configuration(static_cast<int>(PitchEstimator::kFftPoints));
        benchmark::DoNotOptimize(configuration);
        benchmark::DoNotOptimize(detector->getFreqFromBuffer(pluckedA4().data(), kBufferBytes));
    }
}
BENCHMARK(BM_EstimateFreshConfig);

void BM_EstimateReusedConfig(benchmark::State& state) {
    auto detector = std::make_unique<PitchEstimator>(kCaptureRate);
    for (auto _ : state) benchmark::DoNotOptimize(detector->getFreqFromBuffer(pluckedA4().data(), kBufferBytes));
}
BENCHMARK(BM_EstimateReusedConfig);

void BM_TickNoNewBuffer(benchmark::State& state) {
    auto detector = std::make_unique<PitchEstimator>(kCaptureRate);
    detector->setAudioBuffer(pluckedA4().data(), kBufferBytes);
    detector->frequency();
    for (auto _ : state) benchmark::DoNotOptimize(detector->frequency());
}
BENCHMARK(BM_TickNoNewBuffer);

// A minute of plucked strings at the capture rate, buffer by buffer as the
// analyze command runs it (the file's decoding aside).
void BM_AnalyzeMinuteOfSound(benchmark::State& state) {
    constexpr double kSeconds = 60.0;
    const auto samples = pitch_testing::pluckedString({.frequency = pitch_testing::kG4},
                                                      static_cast<size_t>(kSeconds * kCaptureRate));
    auto detector = std::make_unique<PitchEstimator>(kCaptureRate);
    for (auto _ : state) {
        int buffers = 0;
        pitch::analyzeBuffers(*detector, samples, [&](const pitch::BufferEstimate&) { ++buffers; });
        benchmark::DoNotOptimize(buffers);
    }
    state.counters["x_real_time"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AnalyzeMinuteOfSound)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
