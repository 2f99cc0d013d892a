// Nothing unexpected escapes the program: whatever its body or one of its
// threads throws ends it with one clear line and status 1.

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <thread>

#include "app/ProgramGuard.h"

namespace {

TEST(ProgramGuard, PassesTheBodysStatusOn) {
    EXPECT_EQ(app::runGuarded([] { return 0; }), 0);
    EXPECT_EQ(app::runGuarded([] { return 2; }), 2);
}

TEST(ProgramGuard, OutOfMemoryEndsWithAClearMessageAndStatusOne) {
    EXPECT_EXIT(std::exit(app::runGuarded([]() -> int { throw std::bad_alloc(); })), testing::ExitedWithCode(1),
                "pallqa-tuner: unexpected error: out of memory; stopping");
}

TEST(ProgramGuard, AnyExceptionEndsWithItsMessageAndStatusOne) {
    EXPECT_EXIT(std::exit(app::runGuarded([]() -> int { throw std::runtime_error("the disk is on fire"); })),
                testing::ExitedWithCode(1), "unexpected error: the disk is on fire");
    EXPECT_EXIT(std::exit(app::runGuarded([]() -> int { throw 42; })), testing::ExitedWithCode(1),
                "unexpected error: an unknown error");
}

TEST(ProgramGuard, AnExceptionThatEndsAnotherThreadEndsTheProgramClearly) {
    EXPECT_EXIT(std::exit(app::runGuarded([] {
                    std::thread([] { throw std::length_error("a buffer of a terabyte"); }).join();
                    return 0;
                })),
                testing::ExitedWithCode(1), "unexpected error: a buffer of a terabyte");
}

}  // namespace
