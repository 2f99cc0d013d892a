// The window's size, remembered per screen class in window.ini beside the
// settings; something other than a regular file at that name is never read,
// waited on or replaced.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "platform/core/Log.h"
#include "platform/ui/qt/WindowSizeMemory.h"
#include "tests/support/PlainPlatform.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

namespace fs = std::filesystem;
using platform::ui::qt::WindowSizeMemory;

class WindowSizeMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment.set("XDG_CONFIG_HOME", (testing_support::temporaryFolder() / "config").string());
        file = testing_support::temporaryFolder() / "config" / "pallqa-tuner" / "window.ini";
    }
    void TearDown() override { fs::remove_all(testing_support::temporaryFolder()); }

    testing_support::ScopedEnvironment environment;
    fs::path file;
    platform::LogCapture log;
    const platform::Rect phone{0, 0, 390, 844};
    const platform::Rect tablet{0, 0, 834, 1194};
};

TEST_F(WindowSizeMemoryTest, RemembersTheSizeOfEachScreenClass) {
    WindowSizeMemory(phone).remember(QSize(300, 650));
    WindowSizeMemory(tablet).remember(QSize(600, 860));
    EXPECT_EQ(WindowSizeMemory(phone).remembered(), QSize(300, 650));
    EXPECT_EQ(WindowSizeMemory(tablet).remembered(), QSize(600, 860));
    EXPECT_TRUE(fs::is_regular_file(file));
}

TEST_F(WindowSizeMemoryTest, AFifoAtTheFilesNameIsNeitherWaitedOnNorReplaced) {
    fs::create_directories(file.parent_path());
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto remembering = std::async(std::launch::async, [this] {
        WindowSizeMemory memory(phone);
        memory.remember(QSize(300, 650));
        return memory.remembered();
    });
    ASSERT_EQ(remembering.wait_for(std::chrono::seconds(10)), std::future_status::ready)
        << "the window waited on a FIFO";
    EXPECT_EQ(remembering.get(), std::nullopt);
    EXPECT_TRUE(fs::is_fifo(file));
    EXPECT_EQ(log.lines(), std::vector<std::string>{"Window sizes are not remembered: " + file.string() +
                                                    " is not a regular file"});
}

}  // namespace
