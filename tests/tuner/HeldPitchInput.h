#pragma once
// Readings of the latest captured sound that a test sets by hand, counted as
// they are read.

#include <cstdint>

#include "tuner/PitchInput.h"

namespace tuner_tests {

class HeldPitchInput final : public tuner::PitchInput {
public:
    void listen() override { ++listenCalls; }
    float averagePower() override {
        ++readings;
        return level;
    }
    float frequency() override {
        ++frequencyReadings;
        return frequency_;
    }
    void hold(float newLevel, float newFrequency) {
        level = newLevel;
        frequency_ = newFrequency;
    }

    float level = 0.0f;
    float frequency_ = 0.0f;
    int listenCalls = 0;
    int readings = 0;  // of the level
    int frequencyReadings = 0;
};

}  // namespace tuner_tests
