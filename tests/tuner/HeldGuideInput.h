#pragma once
// The guide's readings as a test hands them, taken oldest first as the
// stream's are.

#include <algorithm>
#include <deque>
#include <optional>

#include "tuner/GuideInput.h"

namespace tuner_tests {

class HeldGuideInput final : public tuner::GuideInput {
public:
    static constexpr double kSampleRate = 14039.0;

    void listen() override { ++listenCalls; }
    size_t takeReadings(std::span<guide::GuideReading> out) override {
        const size_t count = std::min(out.size(), waiting.size());
        std::copy_n(waiting.begin(), count, out.begin());
        waiting.erase(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(count));
        return count;
    }
    double sampleRate() const override { return kSampleRate; }
    void choose(std::optional<int> course) override { chosen = course; }

    // A reading of `frequency` at `level`, with what it heard of the course's
    // two strings, one hop after the one before.
    void hand(float level, double frequency, const guide::PairReading& pair = {}) {
        heard += guide::kHopSamples;
        waiting.push_back({heard, level, frequency, pair});
    }

    std::deque<guide::GuideReading> waiting;
    uint64_t heard = 0;
    int listenCalls = 0;
    std::optional<int> chosen;
};

}  // namespace tuner_tests
