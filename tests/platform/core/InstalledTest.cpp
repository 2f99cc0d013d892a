#include "platform/core/Installed.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using platform::Installed;

// Counts the defaults made, so a test sees when the default is made afresh.
int defaultsMade = 0;
std::shared_ptr<std::string> makeDefault() {
    ++defaultsMade;
    return std::make_shared<std::string>("default");
}

class InstalledSlot : public ::testing::Test {
protected:
    void SetUp() override { defaultsMade = 0; }
    Installed<std::shared_ptr<std::string>> slot{makeDefault};
};

TEST_F(InstalledSlot, MakesItsDefaultAtTheFirstReadOnly) {
    EXPECT_EQ(defaultsMade, 0);
    const auto first = slot.get();
    EXPECT_EQ(*first, "default");
    EXPECT_EQ(slot.get(), first);
    EXPECT_EQ(defaultsMade, 1);
}

TEST_F(InstalledSlot, ResetPutsBackAFreshDefault) {
    const auto before = slot.get();
    slot.install(std::make_shared<std::string>("installed"));
    EXPECT_EQ(*slot.get(), "installed");
    slot.reset();
    EXPECT_EQ(defaultsMade, 1) << "made at the next read, not by reset()";
    const auto after = slot.get();
    EXPECT_EQ(*after, "default");
    EXPECT_NE(after, before);
}

TEST_F(InstalledSlot, InstallKeepsAnEmptyValueAsItIs) {
    slot.install(nullptr);
    EXPECT_EQ(slot.get(), nullptr);
}

TEST_F(InstalledSlot, InstallOrDefaultTakesEmptyForTheDefaultAndHandsBackWhatItReplaced) {
    // Nothing read yet: what it replaces is the unmade default, handed back empty.
    const auto untouched = slot.installOrDefault(std::make_shared<std::string>("first"));
    EXPECT_EQ(untouched, nullptr);
    EXPECT_EQ(defaultsMade, 0);

    const auto first = slot.installOrDefault(std::make_shared<std::string>("second"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, "first");

    // Installing each replaced value again unwinds to where things started.
    EXPECT_EQ(*slot.installOrDefault(first), "second");
    EXPECT_EQ(*slot.installOrDefault(untouched), "first");
    EXPECT_EQ(*slot.get(), "default");
}

TEST_F(InstalledSlot, ChangesInPlaceUnderItsLock) {
    Installed<int> counter;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&counter] {
            for (int i = 0; i < 1000; ++i) counter.with([](int& n) { ++n; });
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(counter.get(), 4000);
}

// A value whose destructor uses its own slot again: it must be released after
// the slot's lock, or the destructor would wait for itself.
struct TouchesSlotWhenReleased {
    Installed<std::shared_ptr<TouchesSlotWhenReleased>>* slot;
    ~TouchesSlotWhenReleased() { (void)slot->get(); }
};

TEST(InstalledRelease, ReplacedValuesAreReleasedOutsideTheLock) {
    Installed<std::shared_ptr<TouchesSlotWhenReleased>> slot;
    slot.install(std::make_shared<TouchesSlotWhenReleased>(TouchesSlotWhenReleased{&slot}));
    slot.install(std::make_shared<TouchesSlotWhenReleased>(TouchesSlotWhenReleased{&slot}));
    slot.installOrDefault(nullptr);
    slot.install(std::make_shared<TouchesSlotWhenReleased>(TouchesSlotWhenReleased{&slot}));
    slot.reset();
    EXPECT_EQ(slot.get(), nullptr);
}

TEST(InstalledRegister, ResetInstalledServicesResetsEverySlotThatExists) {
    Installed<int> a([] { return 1; });
    Installed<std::string> b([] { return std::string("b"); });
    a.install(10);
    b.install("changed");
    platform::resetInstalledServices();
    EXPECT_EQ(a.get(), 1);
    EXPECT_EQ(b.get(), "b");
}

TEST(InstalledRegister, ASlotGoneIsNoLongerReset) {
    auto slot = std::make_unique<Installed<int>>();
    const void* address = slot.get();
    EXPECT_TRUE(platform::detail::isSignedIn(address));
    slot.reset();
    EXPECT_FALSE(platform::detail::isSignedIn(address)) << "a reset would touch the destroyed slot";
    platform::resetInstalledServices();
}

}  // namespace
