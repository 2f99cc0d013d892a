// The tuner's 10 ms tick beside the estimate: what one tick costs when a
// string is matched (texts, pictures through the named-picture cache, lamps,
// the held-off beep), when the level clears the display, and when the sound
// is held between the limits. The budget is the tick interval, 10 ms; the
// estimate itself is measured by pitch_bench.

#include <benchmark/benchmark.h>

#include <memory>

#include "platform/core/Bundle.h"
#include "platform/ui/LayoutLoader.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "tuner/PitchInput.h"
#include "tuner/ViewController.h"

namespace {

// Readings held at one level and frequency.
class HeldReadings final : public tuner::PitchInput {
public:
    HeldReadings(float level, float frequency) : level_(level), frequency_(frequency) {}
    void listen() override {}
    float averagePower() override { return level_; }
    float frequency() override { return frequency_; }

private:
    float level_;
    float frequency_;
};

// The tuner scene of the 844-point phone layout on a virtual clock, appeared once.
std::shared_ptr<tuner::ViewController> tunerScreen(float level, float frequency) {
    // The scene's outward links and the first-run line are not what is measured.
    platform::setLogSink([](const std::string&) {});
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual));
    platform::UserDefaults::setStandardUserDefaults(platform::UserDefaults::inMemory());
    auto input = std::make_shared<HeldReadings>(level, frequency);
    const platform::ControllerFactories classes{
        {"ViewController", [input] { return std::make_shared<tuner::ViewController>([] {}, input); }}};
    auto screen = std::dynamic_pointer_cast<tuner::ViewController>(
        platform::Storyboard::storyboardWithName("Main_iPhone12Pro", classes)->instantiateInitialViewController());
    screen->viewWillAppear(false);
    return screen;
}

void BM_Tick(benchmark::State& state, float level, float frequency) {
    const auto screen = tunerScreen(level, frequency);
    screen->tickFree(nullptr);  // the first match beeps and looks the pictures up
    for (auto _ : state) {
        screen->tickFree(nullptr);
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(BM_Tick, MatchedA4, 0.1f, 440.0f);
BENCHMARK_CAPTURE(BM_Tick, Cleared, 0.0f, 0.0f);
BENCHMARK_CAPTURE(BM_Tick, HeldBetweenTheLimits, 0.003f, 440.0f);

}  // namespace

BENCHMARK_MAIN();
