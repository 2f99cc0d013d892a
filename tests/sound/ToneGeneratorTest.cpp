// The tone's output unit: how setupAudio makes it, that only one unit ever
// renders, and that the unit renders the synthesiser's frames while it runs.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/audio/AudioOutputUnit.h"
#include "platform/core/Installed.h"
#include "sound/ToneGenerator.h"
#include "sound/ToneOscillators.h"

namespace {

using platform::PlainAudioOutputUnit;
using sound::ToneGenerator;

class ToneGeneratorTest : public ::testing::Test {
protected:
    void SetUp() override {
        sound::restartToneOscillators();
        platform::AudioComponent::setOutputUnitFactory([this] {
            units.push_back(std::make_shared<PlainAudioOutputUnit>());
            return units.back();
        });
    }
    void TearDown() override {
        platform::resetInstalledServices();
        sound::restartToneOscillators();
    }

    // Frames as a sound card would pull them: the left channel of each.
    static std::vector<int16_t> pull(PlainAudioOutputUnit& unit, uint32_t frameCount,
                                     platform::AudioStatus expected = platform::kAudioNoError) {
        std::vector<int16_t> samples(size_t{frameCount} * 2, 0x5a5a);
        platform::AudioBuffer buffer{2, frameCount * 4, samples.data()};
        EXPECT_EQ(unit.render(frameCount, platform::AudioBufferList(&buffer, 1)), expected);
        std::vector<int16_t> left;
        for (size_t i = 0; i < samples.size(); i += 2) left.push_back(samples[i]);
        return left;
    }

    std::vector<std::shared_ptr<PlainAudioOutputUnit>> units;  // every unit made, oldest first
};

TEST_F(ToneGeneratorTest, SetupAudioLeavesAStoppedUnitInTheToneFormat) {
    ToneGenerator generator;
    generator.setupAudio();
    ASSERT_EQ(units.size(), 1u);
    EXPECT_EQ(ToneGenerator::toneUnit(), units[0].get());
    EXPECT_TRUE(units[0]->isInitialized());
    EXPECT_FALSE(units[0]->isRunning());
    const auto& format = units[0]->streamFormat();
    ASSERT_TRUE(format.has_value());
    EXPECT_EQ(format->mSampleRate, 44100.0);
    EXPECT_EQ(format->mFormatID, platform::fourCharCode("lpcm"));
    EXPECT_EQ(format->mFormatFlags, 12u);
    EXPECT_EQ(format->mBytesPerPacket, 4u);
    EXPECT_EQ(format->mFramesPerPacket, 1u);
    EXPECT_EQ(format->mBytesPerFrame, 4u);
    EXPECT_EQ(format->mChannelsPerFrame, 2u);
    EXPECT_EQ(format->mBitsPerChannel, 16u);
    // Stopped: silence, and the oscillators stay where they are.
    EXPECT_EQ(pull(*units[0], 64), std::vector<int16_t>(64, 0));
    EXPECT_EQ(sound::toneOscillators.sinePhase, 0.0);
}

TEST_F(ToneGeneratorTest, RunningUnitPlaysTheSynthesisedTone) {
    ToneGenerator generator;
    generator.setCurTone(ToneGenerator::kTriangle);
    generator.setupAudio();
    units[0]->start();
    EXPECT_EQ(pull(*units[0], 6), (std::vector<int16_t>{0, 1524, 3044, 4558, 6060, 7548}));
}

TEST_F(ToneGeneratorTest, NewSetupStopsAndDisposesOfThePreviousUnit) {
    ToneGenerator generator;
    generator.setupAudio();
    units[0]->start();
    generator.setupAudio();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_FALSE(units[0]->isRunning());
    EXPECT_FALSE(units[0]->isInitialized());
    EXPECT_EQ(pull(*units[0], 8, platform::kAudioUnitErrUninitialized), std::vector<int16_t>(8, 0));
    EXPECT_EQ(ToneGenerator::toneUnit(), units[1].get());
    EXPECT_FALSE(units[1]->isRunning());
}

TEST_F(ToneGeneratorTest, OneToneUnitForTheWholeProgram) {
    auto first = std::make_unique<ToneGenerator>();
    first->setupAudio();
    units[0]->start();
    ToneGenerator second;
    second.setupAudio();
    EXPECT_FALSE(units[0]->isInitialized()) << "the first screen's tone would go on out of reach";
    // The first generator going away leaves the second one's unit alone.
    first.reset();
    EXPECT_EQ(ToneGenerator::toneUnit(), units[1].get());
    EXPECT_TRUE(units[1]->isInitialized());
}

TEST_F(ToneGeneratorTest, GeneratorTakesItsUnitAlongWhenItGoes) {
    {
        ToneGenerator generator;
        generator.setupAudio();
        units[0]->start();
    }
    EXPECT_EQ(ToneGenerator::toneUnit(), nullptr);
    EXPECT_FALSE(units[0]->isRunning());
    EXPECT_FALSE(units[0]->isInitialized());
}

}  // namespace
