// The input tap's slot while the capture calls it from its own thread: an
// install that has returned leaves the replaced tap uncalled for good, the new
// one hears what comes after, and a reset of the platform takes the tap away.
// Run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

#include "platform/audio/AudioInputTap.h"
#include "platform/core/Installed.h"

namespace {

struct CountingTap {
    std::atomic<unsigned> calls{0};
    std::atomic<size_t> samples{0};

    static void block(void* self, std::span<const int16_t> samples) {
        auto* tap = static_cast<CountingTap*>(self);
        tap->calls.fetch_add(1);
        tap->samples.fetch_add(samples.size());
    }
    platform::AudioInputTap asTap() { return {&CountingTap::block, this}; }
};

class AudioInputTapTest : public testing::Test {
protected:
    void TearDown() override { platform::resetInstalledServices(); }
};

TEST_F(AudioInputTapTest, AReplacedTapIsNeverCalledOnceTheInstallHasReturned) {
    std::array<CountingTap, 8> taps;
    std::atomic<bool> capturing{true};
    const std::array<int16_t, 64> piece{};
    std::thread capture([&] {
        while (capturing.load()) platform::tapAudioInput(piece);
    });
    for (size_t i = 0; i < taps.size(); ++i) {
        platform::installAudioInputTap(taps[i].asTap());
        if (i == 0) continue;
        const unsigned replacedCalls = taps[i - 1].calls.load();
        // The capture goes on until the new tap has heard it twice.
        while (taps[i].calls.load() < 2) std::this_thread::yield();
        EXPECT_EQ(taps[i - 1].calls.load(), replacedCalls) << "tap " << i - 1;
    }
    capturing.store(false);
    capture.join();
    EXPECT_EQ(taps.back().samples.load() % piece.size(), 0u);
}

TEST_F(AudioInputTapTest, HandsEachPieceToTheInstalledTapUntilItIsRemovedOrThePlatformReset) {
    CountingTap tap;
    const std::array<int16_t, 5> piece{1, 2, 3, 4, 5};
    platform::tapAudioInput(piece);  // no tap yet: nothing happens
    platform::installAudioInputTap(tap.asTap());
    platform::tapAudioInput(piece);
    platform::tapAudioInput(std::span(piece).first(2));
    EXPECT_EQ(tap.calls.load(), 2u);
    EXPECT_EQ(tap.samples.load(), 7u);

    platform::installAudioInputTap({});
    platform::tapAudioInput(piece);
    EXPECT_EQ(tap.calls.load(), 2u);

    platform::installAudioInputTap(tap.asTap());
    platform::resetInstalledServices();
    platform::tapAudioInput(piece);
    EXPECT_EQ(tap.calls.load(), 2u);
}

}  // namespace
