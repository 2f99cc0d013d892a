#pragma once
// A fresh plain platform for one test: every installed service at its default
// (platform::resetInstalledServices()), then a virtual-clock main loop, an empty
// in-memory settings store, the real resources folder, a recording URL opener
// and a captured log. Everything is reset again afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/Application.h"

namespace testing_support {

// The resources folder of the source tree.
std::filesystem::path resourcesFolder();
// A folder for this test's files, removed when the test ends.
std::filesystem::path temporaryFolder();

class PlainPlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void setScreen(int64_t idiom, double height);
    // Moves the virtual clock on, running whatever falls due.
    void advance(double seconds) { loop->advance(seconds); }

    std::shared_ptr<platform::RunLoop> loop;
    std::shared_ptr<platform::UserDefaults> defaults;
    std::shared_ptr<platform::RecordingUrlOpener> urls;
    std::unique_ptr<platform::LogCapture> log;
};

}  // namespace testing_support
