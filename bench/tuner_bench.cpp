// The tuner's 10 ms tick beside the estimate: what one tick costs when a
// string is matched (texts, pictures through the named-picture cache, lamps,
// the held-off beep), when the level clears the display, and when the sound
// is held between the limits. The guide's stream reads a hop every 3.7 ticks,
// so most ticks only move the needle on; the cases with a new reading at
// every tick add the tuning guide's texts each time. The budget is the tick
// interval, 10 ms; the estimate itself is measured by pitch_bench, a hop of
// the guide's stream by guide_bench.

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>

#include "platform/core/Bundle.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/LayoutLoader.h"
#include "tuner/GuideInput.h"
#include "tuner/PitchInput.h"
#include "tuner/ViewController.h"

namespace {

// The detector's readings held at one level and frequency.
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

// The guide's stream at the same level and frequency: with new readings, one
// at every take, whose frequency moves by a tenth of a cent each time, so
// that the guide's texts change too.
class HeldGuideReadings final : public tuner::GuideInput {
public:
    HeldGuideReadings(float level, float frequency, bool newReadings)
        : level_(level), frequency_(frequency), newReadings_(newReadings) {}
    void listen() override {}
    size_t takeReadings(std::span<guide::GuideReading> out) override {
        if (!newReadings_ || out.empty()) return 0;
        heard_ += guide::kHopSamples;
        const double moved = (heard_ / guide::kHopSamples) % 2 == 0 ? 1.0 : kTenthOfACent;
        out[0] = {heard_, level_, static_cast<double>(frequency_) * moved};
        return 1;
    }
    double sampleRate() const override { return 14039.0; }
    // The readings are the same whichever course is chosen.
    void choose(std::optional<int>) override {}

private:
    static constexpr double kTenthOfACent = 1.0000577639333184;  // 2^(0.1/1200)
    float level_;
    float frequency_;
    bool newReadings_;
    uint64_t heard_ = 0;
};

// The tuner scene of the 844-point phone layout on a virtual clock, appeared once.
std::shared_ptr<tuner::ViewController> tunerScreen(float level, float frequency, bool newReadings) {
    // The scene's outward links and the first-run line are not what is measured.
    platform::setLogSink([](const std::string&) {});
    platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual));
    platform::UserDefaults::setStandardUserDefaults(platform::UserDefaults::inMemory());
    auto input = std::make_shared<HeldReadings>(level, frequency);
    auto guide = std::make_shared<HeldGuideReadings>(level, frequency, newReadings);
    const platform::ControllerFactories classes{{"ViewController", [input, guide] {
        return std::make_shared<tuner::ViewController>([] {}, input, sound::PitchConfirmations::shared(), guide);
    }}};
    auto screen = std::dynamic_pointer_cast<tuner::ViewController>(
        platform::Storyboard::storyboardWithName("Main_iPhone12Pro", classes)->instantiateInitialViewController());
    screen->viewWillAppear(false);
    return screen;
}

void BM_Tick(benchmark::State& state, float level, float frequency, bool newReadings) {
    const auto screen = tunerScreen(level, frequency, newReadings);
    screen->tickFree(nullptr);  // the first match beeps and looks the pictures up
    for (auto _ : state) {
        screen->tickFree(nullptr);
        benchmark::ClobberMemory();
    }
}

BENCHMARK_CAPTURE(BM_Tick, MatchedA4, 0.1f, 440.0f, false);
BENCHMARK_CAPTURE(BM_Tick, Cleared, 0.0f, 0.0f, false);
BENCHMARK_CAPTURE(BM_Tick, HeldBetweenTheLimits, 0.003f, 440.0f, false);
BENCHMARK_CAPTURE(BM_Tick, MatchedA4NewReading, 0.1f, 440.0f, true);
// A4 20 cents flat: no match, the measured frequency and the guide's texts.
BENCHMARK_CAPTURE(BM_Tick, FlatA4NewReading, 0.1f, 434.9f, true);

}  // namespace

BENCHMARK_MAIN();
