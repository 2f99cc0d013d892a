// Output units as the platform offers them: finding the output component,
// the installed factory, the unit's life from set-up to disposal, and the
// plain unit that renders only when its frames are pulled.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/audio/AudioOutputUnit.h"

namespace {

using platform::AudioBuffer;
using platform::AudioBufferList;
using platform::AudioComponent;
using platform::AudioComponentDescription;
using platform::AudioStreamBasicDescription;
using platform::fourCharCode;
using platform::PlainAudioOutputUnit;

constexpr AudioStreamBasicDescription kStereo16{
    44100.0, platform::kAudioFormatLinearPCM, 12, 4, 1, 4, 2, 16, 0};

// What the callback was given, call by call.
struct Calls {
    struct Call {
        uint32_t frameCount;
        size_t bufferCount;
        double sampleTime;
    };
    std::vector<Call> calls;
    int16_t fill = 7;
};

platform::AudioStatus recordingCallback(void* context, platform::AudioUnitRenderActionFlags*,
                                        const platform::AudioTimeStamp* timeStamp, uint32_t, uint32_t frameCount,
                                        AudioBufferList buffers) {
    auto& record = *static_cast<Calls*>(context);
    record.calls.push_back({frameCount, buffers.size(), timeStamp->mSampleTime});
    for (AudioBuffer& buffer : buffers) {
        auto* samples = static_cast<int16_t*>(buffer.mData);
        std::fill(samples, samples + buffer.mDataByteSize / 2, record.fill);
    }
    return platform::kAudioNoError;
}

class AudioOutputUnitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(unit.setStreamFormat(kStereo16), platform::kAudioNoError);
        ASSERT_EQ(unit.setRenderCallback({recordingCallback, &record}), platform::kAudioNoError);
    }

    // Renders `frameCount` frames into `bufferCount` buffers; returns all samples.
    std::vector<int16_t> render(uint32_t frameCount, size_t bufferCount = 1,
                                platform::AudioStatus expected = platform::kAudioNoError) {
        std::vector<int16_t> samples(size_t{frameCount} * 2 * bufferCount, -1);
        std::vector<AudioBuffer> buffers;
        for (size_t i = 0; i < bufferCount; ++i) buffers.push_back({2, frameCount * 4, samples.data() + i * frameCount * 2});
        EXPECT_EQ(unit.render(frameCount, buffers), expected);
        return samples;
    }

    Calls record;
    PlainAudioOutputUnit unit;
};

TEST(AudioComponentTest, FindsOnlyTheOutputUnit) {
    struct Case {
        AudioComponentDescription description;
        bool found;
    };
    const uint32_t output = fourCharCode("auou");
    const Case cases[] = {
        {{output, fourCharCode("rioc"), fourCharCode("appl"), 0, 0}, true},
        {{output, 0, 0, 0, 0}, true},
        {{output, fourCharCode("rioc"), fourCharCode("appl"), 1, 0}, true},   // flags outside the mask
        {{output, fourCharCode("rioc"), fourCharCode("appl"), 1, 1}, false},  // flags it does not have
        {{output, fourCharCode("vpio"), fourCharCode("appl"), 0, 0}, false},
        {{output, fourCharCode("rioc"), fourCharCode("acme"), 0, 0}, false},
        {{fourCharCode("aufx"), 0, 0, 0, 0}, false},
        {{}, false},
    };
    for (const Case& c : cases) {
        const auto& d = c.description;
        EXPECT_EQ(AudioComponent::findNext(d).has_value(), c.found)
            << std::hex << d.componentType << " " << d.componentSubType << " " << d.componentManufacturer << " "
            << d.componentFlags << "/" << d.componentFlagsMask;
    }
}

TEST(AudioComponentTest, InstalledFactoryDecidesTheUnits) {
    const auto component = AudioComponent::findNext({fourCharCode("auou"), 0, 0, 0, 0});
    ASSERT_TRUE(component);
    auto made = std::make_shared<PlainAudioOutputUnit>();
    AudioComponent::setOutputUnitFactory([made] { return made; });
    EXPECT_EQ(component->instanceNew(), made);
    AudioComponent::setOutputUnitFactory(nullptr);
    const auto plain = component->instanceNew();
    EXPECT_NE(plain, made);
    EXPECT_NE(dynamic_cast<PlainAudioOutputUnit*>(plain.get()), nullptr);
}

TEST_F(AudioOutputUnitTest, RefusesFormatsOtherThanInterleavedSigned16Bit) {
    struct Case {
        const char* what;
        AudioStreamBasicDescription format;
        bool accepted;
    };
    auto with = [](auto change) {
        AudioStreamBasicDescription format = kStereo16;
        change(format);
        return format;
    };
    const Case cases[] = {
        {"stereo", kStereo16, true},
        {"mono", {22050.0, platform::kAudioFormatLinearPCM, 12, 2, 1, 2, 1, 16, 0}, true},
        {"float", with([](auto& f) { f.mFormatFlags = 1 | 8; }), false},
        {"non-interleaved", with([](auto& f) { f.mFormatFlags = 4 | 8 | 32; }), false},
        {"24-bit", {44100.0, platform::kAudioFormatLinearPCM, 12, 6, 1, 6, 2, 24, 0}, false},
        {"frame size off", with([](auto& f) { f.mBytesPerFrame = 8; }), false},
        {"no channels", {44100.0, platform::kAudioFormatLinearPCM, 12, 0, 1, 0, 0, 16, 0}, false},
        {"no rate", with([](auto& f) { f.mSampleRate = 0.0; }), false},
        {"not PCM", with([](auto& f) { f.mFormatID = fourCharCode("aac "); }), false},
    };
    for (const Case& c : cases) {
        PlainAudioOutputUnit fresh;
        EXPECT_EQ(fresh.setStreamFormat(c.format) == platform::kAudioNoError, c.accepted) << c.what;
    }
}

TEST_F(AudioOutputUnitTest, SettingsAreFixedOnceInitialised) {
    ASSERT_EQ(unit.initialize(), platform::kAudioNoError);
    EXPECT_EQ(unit.setStreamFormat(kStereo16), platform::kAudioUnitErrPropertyNotWritable);
    EXPECT_EQ(unit.setRenderCallback({}), platform::kAudioUnitErrPropertyNotWritable);
}

TEST_F(AudioOutputUnitTest, StartsOnlyOnceInitialised) {
    PlainAudioOutputUnit withoutFormat;
    EXPECT_EQ(withoutFormat.initialize(), platform::kAudioUnitErrFormatNotSupported);
    EXPECT_EQ(unit.start(), platform::kAudioUnitErrUninitialized);
    EXPECT_FALSE(unit.isRunning());
    render(16, 1, platform::kAudioUnitErrUninitialized);
    EXPECT_TRUE(record.calls.empty());
}

TEST_F(AudioOutputUnitTest, PullsTheCallbackOnlyWhileRunning) {
    unit.initialize();
    EXPECT_EQ(render(32), std::vector<int16_t>(64, 0)) << "a stopped unit plays silence";
    unit.start();
    unit.start();
    EXPECT_TRUE(unit.isRunning());
    EXPECT_EQ(render(32), std::vector<int16_t>(64, record.fill));
    render(16);
    unit.stop();
    unit.stop();
    EXPECT_EQ(render(32), std::vector<int16_t>(64, 0));
    ASSERT_EQ(record.calls.size(), 2u);
    EXPECT_EQ(record.calls[0].frameCount, 32u);
    EXPECT_EQ(record.calls[0].sampleTime, 0.0);
    EXPECT_EQ(record.calls[1].frameCount, 16u);
    EXPECT_EQ(record.calls[1].sampleTime, 32.0);
}

TEST_F(AudioOutputUnitTest, HandsEveryBufferOfTheListToTheCallback) {
    unit.initialize();
    unit.start();
    EXPECT_EQ(render(8, 3), std::vector<int16_t>(48, record.fill));
    ASSERT_EQ(record.calls.size(), 1u);
    EXPECT_EQ(record.calls[0].frameCount, 8u);
    EXPECT_EQ(record.calls[0].bufferCount, 3u);
}

TEST_F(AudioOutputUnitTest, RefusesBuffersThatDoNotHoldTheFrames) {
    unit.initialize();
    unit.start();
    std::vector<int16_t> samples(64, -1);
    for (const uint32_t bytes : {0u, 60u, 68u}) {
        AudioBuffer buffer{2, bytes, samples.data()};
        EXPECT_EQ(unit.render(16, AudioBufferList(&buffer, 1)), platform::kAudioParamError) << bytes << " bytes";
    }
    AudioBuffer missing{2, 64, nullptr};
    EXPECT_EQ(unit.render(16, AudioBufferList(&missing, 1)), platform::kAudioParamError);
    EXPECT_EQ(samples, std::vector<int16_t>(64, -1));
    EXPECT_TRUE(record.calls.empty());
}

TEST_F(AudioOutputUnitTest, DisposedUnitRefusesEverything) {
    unit.initialize();
    unit.start();
    unit.dispose();
    EXPECT_FALSE(unit.isRunning());
    EXPECT_EQ(unit.initialize(), platform::kAudioUnitErrUninitialized);
    EXPECT_EQ(unit.start(), platform::kAudioUnitErrUninitialized);
    EXPECT_EQ(render(16, 1, platform::kAudioUnitErrUninitialized), std::vector<int16_t>(32, 0));
    EXPECT_TRUE(record.calls.empty());
}

}  // namespace
