// The tuner's 10 ms tick beside the estimate: what one tick costs when a
// string is matched (texts, pictures through the named-picture cache, lamps,
// the held-off beep), when the level clears the display, and when the sound
// is held between the limits. A buffer lasts about 29 ticks, so most ticks
// read a buffer already estimated and guided; the cases on a new buffer at
// every tick add the tuning guide's work each time. The budget is the tick
// interval, 10 ms; the estimate itself is measured by pitch_bench.

#include <benchmark/benchmark.h>

#include <memory>

#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/LayoutLoader.h"
#include "tuner/PitchInput.h"
#include "tuner/ViewController.h"

namespace {

// Readings held at one level and frequency. On a new buffer at every
// reading, the refined frequency moves by a tenth of a cent each time, so
// that the guide's texts change too.
class HeldReadings final : public tuner::PitchInput {
public:
    HeldReadings(float level, float frequency, bool newBuffers)
        : level_(level), frequency_(frequency), newBuffers_(newBuffers) {}
    void listen() override {}
    float averagePower() override { return level_; }
    float frequency() override { return frequency_; }
    double refinedFrequency() override {
        return static_cast<double>(frequency_) * (buffers_ % 2 == 0 ? 1.0 : kTenthOfACent);
    }
    uint64_t estimatedBuffers() override { return newBuffers_ ? ++buffers_ : buffers_; }

private:
    static constexpr double kTenthOfACent = 1.0000577639333184;  // 2^(0.1/1200)
    float level_;
    float frequency_;
    bool newBuffers_;
    uint64_t buffers_ = 0;
};

// The tuner scene of the 844-point phone layout on a virtual clock, appeared once.
std::shared_ptr<tuner::ViewController> tunerScreen(float level, float frequency, bool newBuffers) {
    // The scene's outward links and the first-run line are not what is measured.
    platform::setLogSink([](const std::string&) {});
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual));
    platform::UserDefaults::setStandardUserDefaults(platform::UserDefaults::inMemory());
    auto input = std::make_shared<HeldReadings>(level, frequency, newBuffers);
    const platform::ControllerFactories classes{
        {"ViewController", [input] { return std::make_shared<tuner::ViewController>([] {}, input); }}};
    auto screen = std::dynamic_pointer_cast<tuner::ViewController>(
        platform::Storyboard::storyboardWithName("Main_iPhone12Pro", classes)->instantiateInitialViewController());
    screen->viewWillAppear(false);
    return screen;
}

void BM_Tick(benchmark::State& state, float level, float frequency, bool newBuffers) {
    const auto screen = tunerScreen(level, frequency, newBuffers);
    screen->tickFree(nullptr);  // the first match beeps and looks the pictures up
    for (auto _ : state) {
        screen->tickFree(nullptr);
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(BM_Tick, MatchedA4, 0.1f, 440.0f, false);
BENCHMARK_CAPTURE(BM_Tick, Cleared, 0.0f, 0.0f, false);
BENCHMARK_CAPTURE(BM_Tick, HeldBetweenTheLimits, 0.003f, 440.0f, false);
BENCHMARK_CAPTURE(BM_Tick, MatchedA4NewBuffer, 0.1f, 440.0f, true);
// A4 20 cents flat: no match, the measured frequency and the guide's texts.
BENCHMARK_CAPTURE(BM_Tick, FlatA4NewBuffer, 0.1f, 434.9f, true);

}  // namespace

BENCHMARK_MAIN();
