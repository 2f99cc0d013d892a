// The pitch detector's costs: one estimate with the FFT configuration made
// per request (as the chain first did) and reused (as it does now), a tick
// that finds no new buffer, a minute of sound through the analysis (on one
// thread and on several), and a minute of a 48 kHz stereo recording decoded
// and converted to the capture rate.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "pitch/BufferAnalysis.h"
#include "pitch/PitchEstimator.h"
#include "pitch/RealFft.h"
#include "platform/audio/desktop/RecordingStream.h"
#include "platform/audio/desktop/SndfileWriter.h"
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

// The same minute read buffer by buffer and estimated on 1 or 2 threads, the
// estimates used in order.
void BM_AnalyzeMinuteOfSoundOnJobs(benchmark::State& state) {
    constexpr double kSeconds = 60.0;
    const auto samples = pitch_testing::pluckedString({.frequency = pitch_testing::kG4},
                                                      static_cast<size_t>(kSeconds * kCaptureRate));
    for (auto _ : state) {
        const auto read = pitch_testing::piecesOf(samples);
        int buffers = 0;
        pitch::analyzeBuffers(kCaptureRate, read, static_cast<unsigned>(state.range(0)),
                              [&](const pitch::BufferEstimate&) { ++buffers; });
        benchmark::DoNotOptimize(buffers);
    }
    state.counters["x_real_time"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_AnalyzeMinuteOfSoundOnJobs)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// A minute of a 48 kHz stereo recording through the recording reader: decoded
// a piece at a time, mixed down and converted to the capture rate.
void BM_ReadMinuteOfRecording(benchmark::State& state) {
    constexpr int kRate = 48000;
    constexpr int kSeconds = 60;
    const auto path = std::filesystem::temp_directory_path() / "pallqa-pitch-bench-48k-stereo.wav";
    {
        const auto tone = pitch_testing::pluckedString({.frequency = pitch_testing::kA4, .sampleRate = kRate}, kRate);
        std::vector<int16_t> frames;
        for (const int16_t sample : tone) frames.insert(frames.end(), {sample, sample});
        std::string error;
        auto writer = platform::audio::desktop::makeSndfileWavWriter(path, kRate, 2, uint64_t{kRate} * kSeconds, error);
        if (!writer) {
            state.SkipWithError(error.c_str());
            return;
        }
        for (int second = 0; second < kSeconds; ++second) writer->write(frames);
        writer->finish();
    }
    std::vector<int16_t> buffer(kBufferBytes / 2);
    for (auto _ : state) {
        std::string error;
        const auto recording = platform::audio::desktop::RecordingStream::open(path, kCaptureRate, error);
        size_t samples = 0;
        while (const size_t count = recording->read(buffer)) samples += count;
        benchmark::DoNotOptimize(samples);
    }
    std::filesystem::remove(path);
    state.counters["x_real_time"] = benchmark::Counter(kSeconds, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadMinuteOfRecording)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
