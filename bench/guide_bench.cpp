// The guide's costs: one hop's reading with a full window (a string that has
// rung for a while) and with the shortest (just after a pluck), one hop of a
// ringing pair with the fit of both strings, and the capture thread's part,
// the copy of a microphone's piece into the ring.
#include <benchmark/benchmark.h>

#include <memory>
#include <span>
#include <vector>

#include "guide/GuideAnalyzer.h"
#include "guide/SampleFifo.h"
#include "tests/guide/GuideSignals.h"

namespace {

using guide_testing::kCaptureRate;

// Two seconds of a plucked A4 after a little room noise.
const std::vector<int16_t>& pluck() {
    static const auto samples = guide_testing::pluckAfter(2048, {.frequency = pitch_testing::kA4}, 28078);
    return samples;
}

std::span<const int16_t> hopAt(size_t index) {
    return std::span(pluck()).subspan(index * guide::kHopSamples, guide::kHopSamples);
}

// Hops of a string ringing with a full window, over and over.
void BM_HopWithTheLongestWindow(benchmark::State& state) {
    auto analyzer = std::make_unique<guide::GuideAnalyzer>(kCaptureRate);
    constexpr size_t kFirst = 16;  // a window's length past the pluck
    for (size_t i = 0; i < kFirst; ++i) analyzer->take(hopAt(i));
    size_t next = kFirst;
    for (auto _ : state) {
        benchmark::DoNotOptimize(analyzer->take(hopAt(next)));
        if (++next == pluck().size() / guide::kHopSamples) next = kFirst;
    }
}
BENCHMARK(BM_HopWithTheLongestWindow);

// Hops of two strings of a course 3 cents apart, ringing a second and more:
// the window and the fit of both strings over the bands of the pluck.
void BM_HopOfARingingPair(benchmark::State& state) {
    static const auto pair = [] {
        const guide_testing::CourseString strings[] = {{pitch_testing::kA4},
                                                       {pitch_testing::detuned(pitch_testing::kA4, 3.0), 0.05}};
        return guide_testing::stringsTogether(strings, 4 * 14039);
    }();
    const auto hop = [&](size_t index) {
        return std::span(pair).subspan(index * guide::kHopSamples, guide::kHopSamples);
    };
    auto analyzer = std::make_unique<guide::GuideAnalyzer>(kCaptureRate, tuner::guideCourses());
    constexpr size_t kFirst = 28;  // a second into the pluck
    const auto ringASecond = [&] {
        analyzer->restart(0);
        for (size_t i = 0; i < kFirst; ++i) analyzer->take(hop(i));
    };
    ringASecond();
    size_t next = kFirst;
    for (auto _ : state) {
        benchmark::DoNotOptimize(analyzer->take(hop(next)));
        if (++next == pair.size() / guide::kHopSamples) {
            // Past the pluck's end, its second second and on again.
            state.PauseTiming();
            ringASecond();
            next = kFirst;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_HopOfARingingPair);

// The first reading of a pluck, which rests on its first 1023 samples.
void BM_FirstHopOfAPluck(benchmark::State& state) {
    auto analyzer = std::make_unique<guide::GuideAnalyzer>(kCaptureRate);
    for (auto _ : state) {
        state.PauseTiming();
        analyzer->restart(0);
        // The room before the pluck, and the pluck's first hop, a sample short of a reading.
        for (size_t i = 0; i < 5; ++i) analyzer->take(hopAt(i));
        state.ResumeTiming();
        benchmark::DoNotOptimize(analyzer->take(hopAt(5)));
    }
}
BENCHMARK(BM_FirstHopOfAPluck);

// The capture thread's fixed work: a microphone's piece of 512 samples into the ring.
void BM_CaptureIntoTheRing(benchmark::State& state) {
    auto fifo = std::make_unique<guide::SampleFifo>();
    std::vector<int16_t> out(guide::kHopSamples);
    for (auto _ : state) {
        fifo->write(hopAt(8));
        fifo->read(out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_CaptureIntoTheRing);

}  // namespace

BENCHMARK_MAIN();
