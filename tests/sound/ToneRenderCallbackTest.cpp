// The synthesiser's frames: exact values from the start, the waveform
// selector, the wrap rules of the oscillators, and continuity across calls,
// buffers and a change of pitch.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "sound/ToneGenerator.h"
#include "sound/ToneOscillators.h"
#include "sound/ToneRenderCallback.h"
#include "tests/sound/ToneRendering.h"

namespace {

using sound::ToneGenerator;
using sound_tests::renderTone;

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
// The sample of a unit of mix: 32767 × 6 × 0.95 ÷ 2π.
constexpr double kPeakFactor = 29725.67;
// With 11025 Hz every frame is a quarter cycle: the triangle moves by exactly 1
// and the sawtooth by exactly 0.5 per frame, so the wrap rules show exactly.
constexpr float kQuarterCycleFrequency = 11025.0f;

class ToneRenderCallbackTest : public ::testing::Test {
protected:
    void SetUp() override { sound::restartToneOscillators(); }
    void TearDown() override { sound::restartToneOscillators(); }

    // One frame per call, each paired with the sine phase it was rendered at.
    std::vector<std::pair<double, int16_t>> renderFrameByFrame(uint32_t frameCount) {
        std::vector<std::pair<double, int16_t>> frames;
        for (uint32_t i = 0; i < frameCount; ++i) {
            const double phase = sound::toneOscillators.sinePhase;
            frames.emplace_back(phase, renderTone(generator, 1).front());
        }
        return frames;
    }

    ToneGenerator generator;
};

TEST_F(ToneRenderCallbackTest, FirstFramesAt440HzBlendingTheTriangle) {
    generator.setCurTone(ToneGenerator::kTriangle);
    const std::vector<int16_t> expected{0, 1524, 3044, 4558, 6060, 7548};
    const auto frames = renderTone(generator, 6);
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(frames[i], expected[i], 1) << "frame " << i;
}

TEST_F(ToneRenderCallbackTest, OscillatorsAfterOneSecondMatchTheReferenceToTheBit) {
    // From `data/tone_reference.py state NOTE 1`. Within a second the phase
    // shows whether its multiply-add was rounded twice, as it must be, or fused.
    struct Case {
        float frequency;
        double sinePhase;
        double triangleValue;
        float triangleDirection;
        double sawtoothValue;
        double squareValue;
    };
    const Case cases[] = {
        {440.0f, 0x1.921e375de5ebfp+2, -0x1.e64p-15, 1.0f, -0x1.e64p-16, -1.0},
        {523.2f, 0x1.41ba52b83812ap+0, 0x1.99a2f78p-1, 1.0f, 0x1.99a2f78p-2, 1.0},
    };
    generator.setCurTone(ToneGenerator::kTriangle);
    for (const Case& c : cases) {
        sound::restartToneOscillators();
        sound::toneFrequency = c.frequency;
        renderTone(generator, 44100);
        const sound::ToneOscillators& state = sound::toneOscillators;
        EXPECT_EQ(state.sinePhase, c.sinePhase) << c.frequency << " Hz";
        EXPECT_EQ(state.triangleValue, c.triangleValue) << c.frequency << " Hz";
        EXPECT_EQ(state.triangleDirection, c.triangleDirection) << c.frequency << " Hz";
        EXPECT_EQ(state.sawtoothValue, c.sawtoothValue) << c.frequency << " Hz";
        EXPECT_EQ(state.squareValue, c.squareValue) << c.frequency << " Hz";
    }
}

TEST_F(ToneRenderCallbackTest, SquareHalvesFollowTheSinePhase) {
    generator.setCurTone(ToneGenerator::kSquare);
    for (const float frequency : {659.3f, 440.0f, 329.6f, 523.2f, 392.0f}) {
        sound::restartToneOscillators();
        sound::toneFrequency = frequency;
        const auto frames = renderFrameByFrame(11025);
        // The first frame blends with the square's start value of 0.
        for (size_t i = 1; i < frames.size(); ++i) {
            const auto [phase, sample] = frames[i];
            if (phase <= kPi) {
                EXPECT_TRUE(sample >= 14862 && sample <= 29725) << frequency << " Hz, phase " << phase << ": " << sample;
            } else {
                EXPECT_TRUE(sample >= -29725 && sample <= -14862) << frequency << " Hz, phase " << phase << ": " << sample;
            }
        }
    }
}

TEST_F(ToneRenderCallbackTest, SquareAtAPhaseOfExactlyPiIsInTheUpperHalf) {
    generator.setCurTone(ToneGenerator::kSquare);
    // A pitch of 0 keeps the phase where it is.
    sound::toneFrequency = 0.0f;
    sound::toneOscillators.sinePhase = kPi;
    renderTone(generator, 1);
    EXPECT_EQ(sound::toneOscillators.squareValue, 1.0);
    EXPECT_EQ(renderTone(generator, 1).front(), 14862);
}

TEST_F(ToneRenderCallbackTest, SineOnlyAndUnknownSelectorsGiveThePureSine) {
    for (const uint64_t selector : {ToneGenerator::kSineOnly, uint64_t{7}, uint64_t{1} << 40}) {
        sound::restartToneOscillators();
        generator.setCurTone(selector);
        int16_t highest = 0;
        int16_t lowest = 0;
        for (const auto& [phase, sample] : renderFrameByFrame(44100)) {
            ASSERT_NEAR(sample, kPeakFactor * std::sin(phase), 1.0) << "selector " << selector << ", phase " << phase;
            highest = std::max(highest, sample);
            lowest = std::min(lowest, sample);
        }
        EXPECT_EQ(highest, 29725) << "selector " << selector;
        EXPECT_EQ(lowest, -29725) << "selector " << selector;
    }
}

TEST_F(ToneRenderCallbackTest, TriangleIsReflectedAtItsBounds) {
    struct Case {
        const char* what;
        double value;
        float direction;
        double nextValue;
        float nextDirection;
    };
    const Case cases[] = {
        {"rising inside", -0.5, 1.0f, 0.5, 1.0f},
        {"rising to exactly 1 stays", 0.0, 1.0f, 1.0, 1.0f},
        {"rising past 1 by 0.25", 0.25, 1.0f, 0.75, -1.0f},
        {"falling to exactly -1 stays", 0.0, -1.0f, -1.0, -1.0f},
        {"falling past -1 by 0.25", -0.25, -1.0f, -0.75, 1.0f},
    };
    sound::toneFrequency = kQuarterCycleFrequency;
    for (const Case& c : cases) {
        sound::toneOscillators.triangleValue = c.value;
        sound::toneOscillators.triangleDirection = c.direction;
        renderTone(generator, 1);
        EXPECT_EQ(sound::toneOscillators.triangleValue, c.nextValue) << c.what;
        EXPECT_EQ(sound::toneOscillators.triangleDirection, c.nextDirection) << c.what;
    }
}

TEST_F(ToneRenderCallbackTest, SawtoothDropsByTwoOncePast1) {
    struct Case {
        const char* what;
        double value;
        double nextValue;
    };
    const Case cases[] = {
        {"inside", -0.75, -0.25},
        {"to exactly 1 stays", 0.5, 1.0},
        {"past 1 by 0.25", 0.75, -0.75},
        {"from 1", 1.0, -0.5},
    };
    sound::toneFrequency = kQuarterCycleFrequency;
    for (const Case& c : cases) {
        sound::toneOscillators.sawtoothValue = c.value;
        renderTone(generator, 1);
        EXPECT_EQ(sound::toneOscillators.sawtoothValue, c.nextValue) << c.what;
    }
}

TEST_F(ToneRenderCallbackTest, NoFramesOrNoBuffersWriteNothing) {
    generator.setCurTone(ToneGenerator::kTriangle);
    renderTone(generator, 10);
    const sound::ToneOscillators before = sound::toneOscillators;
    constexpr uint32_t kUntouched = 0x5a5a5a5a;
    uint32_t word = kUntouched;
    platform::AudioBuffer buffer{2, 0, &word};
    EXPECT_EQ(sound::toneRenderCallback(&generator, nullptr, nullptr, 0, 0, platform::AudioBufferList(&buffer, 1)), 0);
    EXPECT_EQ(sound::toneRenderCallback(&generator, nullptr, nullptr, 0, 16, platform::AudioBufferList()), 0);
    EXPECT_EQ(word, kUntouched);
    EXPECT_EQ(sound::toneOscillators.sinePhase, before.sinePhase);
    EXPECT_EQ(sound::toneOscillators.triangleValue, before.triangleValue);
    EXPECT_EQ(sound::toneOscillators.sawtoothValue, before.sawtoothValue);
}

TEST_F(ToneRenderCallbackTest, SecondBufferOfACallContinuesTheFirst) {
    generator.setCurTone(ToneGenerator::kTriangle);
    const auto inOneBuffer = renderTone(generator, 256);
    sound::restartToneOscillators();
    EXPECT_EQ(renderTone(generator, 128, 2), inOneBuffer);
}

TEST_F(ToneRenderCallbackTest, NewPitchBetweenCallsContinuesThePhase) {
    generator.setCurTone(ToneGenerator::kTriangle);
    const auto unchanged = renderTone(generator, 101);
    sound::restartToneOscillators();
    renderTone(generator, 100);
    const double phaseAtChange = sound::toneOscillators.sinePhase;
    sound::toneFrequency = 659.3f;
    const auto afterChange = renderTone(generator, 100);
    // The next frame is the one the old pitch would have rendered next ...
    EXPECT_EQ(afterChange.front(), unchanged.back());
    // ... and from there the phase advances at the new pitch.
    const double step = static_cast<double>(659.3f / 44100.0f) * kTwoPi;
    EXPECT_NEAR(sound::toneOscillators.sinePhase, std::fmod(phaseAtChange + 100 * step, kTwoPi), 1e-9);
}

}  // namespace
