#include "tests/support/PlainPlatform.h"

#include <cstdlib>

#include "platform/core/Installed.h"

namespace testing_support {

namespace fs = std::filesystem;

fs::path resourcesFolder() {
    const char* env = std::getenv("PALLQA_RESOURCES");
    return env ? fs::path(env) : platform::Bundle::locateResources();
}

fs::path temporaryFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    fs::path folder = fs::temp_directory_path() / "pallqa-tests" /
                      (std::string(info ? info->test_suite_name() : "suite") + "." + (info ? info->name() : "test") +
                       "." + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

void PlainPlatformTest::SetUp() {
    // Whatever a test before this one left installed is gone.
    platform::resetInstalledServices();
    loop = std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual);
    platform::RunLoop::setMain(loop);
    platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(resourcesFolder(), "en"));
    defaults = platform::UserDefaults::inMemory(platform::Bundle::mainBundle()->bundleIdentifier());
    platform::UserDefaults::setStandardUserDefaults(defaults);
    urls = std::make_shared<platform::RecordingUrlOpener>();
    platform::Application::sharedApplication()->setUrlOpener(urls);
    log = std::make_unique<platform::LogCapture>();
}

void PlainPlatformTest::TearDown() {
    log.reset();
    platform::resetInstalledServices();
    std::error_code ec;
    fs::remove_all(temporaryFolder(), ec);
}

void PlainPlatformTest::setScreen(int64_t idiom, double height) {
    platform::DeviceDescription device = platform::Device::current();
    device.userInterfaceIdiom = idiom;
    device.screenHeight = height;
    platform::Device::setCurrent(device);
}

}  // namespace testing_support
