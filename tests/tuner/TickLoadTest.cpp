// What a tick with a matched string costs besides the estimate: no heap
// allocation and no file access. This program counts every allocation made
// on the main thread while the tick runs.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <new>

#include "platform/core/Bundle.h"
#include "tests/tuner/TunerScreenFixture.h"

namespace {

thread_local bool countingAllocations = false;
thread_local size_t allocations = 0;

void* allocate(std::size_t size) {
    if (countingAllocations) ++allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace tuner_tests {
namespace {

constexpr float kOpenPitches[] = {659.3f, 440.0f, 329.6f, 523.2f, 392.0f};

class TickLoadTest : public TunerScreenTest {
protected:
    // A screen that has matched each pitch once: pictures looked up, beeps played.
    std::shared_ptr<tuner::ViewController> makeWarmScreen() {
        auto screen = makeAppearedScreen();
        for (const float pitch : kOpenPitches) tickWith(kLoud, pitch);
        return screen;
    }
};

struct ScreenClassCase {
    int64_t idiom;
    double height;
    const char* language = "en";
};

class MatchedTickTest : public TickLoadTest, public testing::WithParamInterface<ScreenClassCase> {};

TEST_P(MatchedTickTest, AllocatesNothing) {
    setScreen(GetParam().idiom, GetParam().height);
    platform::Bundle::setMainBundle(
        std::make_shared<platform::Bundle>(testing_support::resourcesFolder(), GetParam().language));
    auto screen = makeWarmScreen();

    countingAllocations = true;
    allocations = 0;
    for (int i = 0; i < 500; ++i) {
        input->hold(kLoud, kOpenPitches[i % 5]);
        screen->tickFree(nullptr);
    }
    countingAllocations = false;

    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(screen->noteDisplay->text(), "G4");
}

INSTANTIATE_TEST_SUITE_P(ScreenClasses, MatchedTickTest,
                         testing::Values(ScreenClassCase{0, 480}, ScreenClassCase{0, 844}, ScreenClassCase{1, 1024},
                                         ScreenClassCase{1, 1366}, ScreenClassCase{0, 844, "es"}),
                         [](const auto& tested) {
                             return std::string(tested.param.idiom == 1 ? "Tablet" : "Phone") +
                                    std::to_string(static_cast<int>(tested.param.height)) + "_" + tested.param.language;
                         });

TEST_F(TickLoadTest, AMatchedTickReadsNoFile) {
    auto screen = makeWarmScreen();
    // From here on any picture looked up from files would be missing.
    const auto empty = testing_support::temporaryFolder() / "no-resources";
    std::filesystem::create_directories(empty);
    platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(empty, "en"));

    for (const float pitch : kOpenPitches) {
        tickWith(kLoud, pitch);
        EXPECT_NE(screen->tunedString5->image(), nullptr) << pitch;
        EXPECT_NE(screen->LEDDisplay->image(), nullptr) << pitch;
        EXPECT_NE(screen->LEDDisplay128->image(), nullptr) << pitch;
    }
}

}  // namespace
}  // namespace tuner_tests
