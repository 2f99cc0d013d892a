// Every installed service of every room goes back to its default in the one
// reset the test fixtures call: a service that keeps its state anywhere but in
// an Installed slot fails here.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/AudioOutputUnit.h"
#include "platform/audio/AudioPlayer.h"
#include "platform/audio/AudioQueueFeeder.h"
#include "tests/platform/audio/HandOverLog.h"
#include "platform/audio/AudioNotice.h"
#include "platform/audio/AudioSession.h"
#include "platform/audio/MicrophoneChoice.h"
#include "platform/audio/PlainAudioPlayer.h"
#include "platform/audio/PlaybackObserver.h"
#include "platform/audio/Recording.h"
#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/core/Installed.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/net/Reachability.h"
#include "platform/net/StoreKit.h"
#include "platform/net/UrlSession.h"
#include "platform/store/UserDefaults.h"
#include "platform/ui/Application.h"
#include "platform/ui/Capabilities.h"
#include "platform/ui/Image.h"
#include "platform/ui/View.h"
#include "tests/support/PlainPlatform.h"

namespace {

namespace fs = std::filesystem;

struct Service {
    const char* name;
    void (*change)();         // leaves the service away from its default
    bool (*isAtDefault)();    // as a fresh process finds it
};

// Told of every view change while installed.
struct CountingObserver : platform::UiObserver {
    void viewDidChange(platform::View&, platform::Change) override { ++changes; }
    int changes = 0;
};
CountingObserver viewObserver;

std::vector<std::string> loggedLines;
bool soundStartedHeard = false;
const auto otherUnit = std::make_shared<platform::PlainAudioOutputUnit>();

fs::path beep() { return testing_support::resourcesFolder() / "beep-full.wav"; }

// A resources folder with a picture the real one lacks.
fs::path resourcesWithLamp() {
    const fs::path folder = testing_support::temporaryFolder() / "lamp-resources";
    fs::create_directories(folder);
    std::ofstream(folder / "Info.json") << R"({"CFBundleIdentifier": "com.example.lamp"})";
    std::ofstream(folder / "lamp.png") << "not decoded on the plain side";
    return folder;
}

const Service kServices[] = {
    {"MainRunLoop",
     [] { platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual)); },
     [] { return !platform::RunLoop::main()->isVirtual(); }},
    {"MainBundle",
     [] { platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(resourcesWithLamp(), "en")); },
     [] { return platform::Bundle::mainBundle()->resourcePath() == platform::Bundle::locateResources(); }},
    {"SettingsStore", [] { platform::UserDefaults::standardUserDefaults()->setInteger(1, "changed"); },
     [] { return platform::UserDefaults::standardUserDefaults()->dictionaryRepresentation().empty(); }},
    {"Device", [] { platform::Device::setCurrent({platform::Device::kIdiomTablet, 1024.0, 1366.0, "9.0"}); },
     [] {
         const platform::DeviceDescription device = platform::Device::current();
         const platform::DeviceDescription fresh;
         return device.userInterfaceIdiom == fresh.userInterfaceIdiom && device.screenHeight == fresh.screenHeight &&
                device.systemVersion == fresh.systemVersion;
     }},
    {"Capabilities", [] { platform::setCapabilities({true, false, true}); },
     [] {
         const platform::PlatformCapabilities offered = platform::capabilities();
         const platform::PlatformCapabilities fresh;
         return offered.storeReviewRequest == fresh.storeReviewRequest &&
                offered.alertController == fresh.alertController &&
                offered.storeProductSheet == fresh.storeProductSheet;
     }},
    {"ReachabilitySources", [] { platform::NetworkReachability::setSources({"/nowhere/net", "/nowhere/route"}); },
     [] { return platform::NetworkReachability::sources().routes == platform::ReachabilitySources{}.routes; }},
    {"HttpTransport",
     [] { platform::UrlSession::sessionWithConfiguration({})->dataTaskWithURL("http://127.0.0.1:9/")->resume(); },
     [] {
         const auto recording = std::dynamic_pointer_cast<platform::RecordingHttpTransport>(platform::httpTransport());
         return recording && recording->requestedURLs().empty();
     }},
    {"InputQueueFactory", [] { platform::AudioQueueFeeder::install(); },
     [] {
         std::unique_ptr<platform::AudioQueue> queue;
         platform_testing::HandOverLog log;
         // Nothing installed: a device that is not there.
         return platform::AudioQueue::newInput(platform_testing::monoFormat(14039.0), &platform_testing::HandOverLog::callback,
                                               &log, queue) == platform::kAudioNoError &&
                queue->start() == platform::kAudioQueueErrCannotStart;
     }},
    {"OutputUnitFactory", [] { platform::AudioComponent::setOutputUnitFactory([] { return otherUnit; }); },
     [] {
         const auto component = platform::AudioComponent::findNext({platform::kAudioUnitTypeOutput, 0, 0, 0, 0});
         return component && component->instanceNew() != otherUnit;
     }},
    {"AudioSession", [] { (void)platform::AudioSession::sharedInstance()->setActive(true); },
     [] {
         const auto session = platform::AudioSession::sharedInstance();
         return session && !session->isActive();
     }},
    {"RecordingOpener",
     [] {
         platform::setRecordingOpener([](const fs::path&, double, std::string&) -> std::unique_ptr<platform::Recording> {
             return nullptr;
         });
     },
     [] {
         std::string error;
         return !platform::openRecording(beep(), 14039.0, error) && error == "recordings cannot be read here";
     }},
    {"AudioNotice", [] { platform::showAudioNotice("Microphone lost"); },
     [] { return platform::audioNotices().empty(); }},
    {"MicrophoneChoice",
     [] {
         platform::setMicrophoneChoice({[] { return std::vector<std::string>{"USB"}; }, [] { return std::string(); },
                                        [](const std::string&) {}});
     },
     [] { return !platform::microphoneChoice().offered(); }},
    {"SoundFilePlayers", [] { platform::AudioPlayer::setFactory([](const fs::path&) { return nullptr; }); },
     [] { return platform::AudioPlayer::withContentsOfFile(beep()) != nullptr; }},
    {"PlayedSounds", [] { platform::PlainAudioPlayer::withContentsOfFile(beep())->play(); },
     [] { return platform::PlainAudioPlayer::played().empty(); }},
    {"PlaybackObserver",
     [] {
         soundStartedHeard = false;
         platform::setPlaybackObserver([](const std::string&) { soundStartedHeard = true; });
     },
     [] {
         soundStartedHeard = false;
         platform::notifySoundStarted("beep-full.wav");
         return !soundStartedHeard;
     }},
    {"ViewObserver", [] { platform::setUiObserver(&viewObserver); },
     [] {
         viewObserver.changes = 0;
         std::make_shared<platform::View>()->setHidden(true);
         return viewObserver.changes == 0;
     }},
    {"LogSink",
     [] {
         loggedLines.clear();
         platform::setLogSink([](const std::string& line) { loggedLines.push_back(line); });
     },
     [] {
         loggedLines.clear();
         platform::NSLog("InstalledServicesTest: this line goes to stderr once the log sink is reset");
         return loggedLines.empty();
     }},
    {"ImageCache",
     [] {
         // The cache keeps misses too: the picture is looked up afresh here.
         platform::clearImageCache();
         platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(resourcesWithLamp(), "en"));
         (void)platform::imageNamed("lamp.png");
         platform::Bundle::setMainBundle(nullptr);
     },
     [] { return platform::imageNamed("lamp.png") == nullptr; }},
    {"Application",
     [] {
         const auto application = platform::Application::sharedApplication();
         std::make_shared<platform::Window>(platform::Rect{0.0, 0.0, 390.0, 844.0})->makeKeyAndVisible();
         application->setIdleTimerDisabled(true);
         application->openURL("https://example.com/");
     },
     [] {
         const auto application = platform::Application::sharedApplication();
         const auto opener = std::dynamic_pointer_cast<platform::RecordingUrlOpener>(application->urlOpener());
         return !application->keyWindow() && application->windows().empty() && !application->isIdleTimerDisabled() &&
                opener && opener->opened().empty();
     }},
    {"StoreReviewRequests", [] { platform::StoreReviewController::requestReview(); },
     [] { return platform::StoreReviewController::requestCount() == 0; }},
};

// Leaves every service at its default and no file behind.
template <typename Case>
class ResetAfterEach : public ::testing::TestWithParam<Case> {
protected:
    void TearDown() override {
        platform::resetInstalledServices();
        std::error_code ec;
        fs::remove_all(testing_support::temporaryFolder(), ec);
    }
};

using InstalledServices = ResetAfterEach<Service>;

TEST_P(InstalledServices, GoBackToTheirDefaultsInOneReset) {
    const Service& service = GetParam();
    platform::resetInstalledServices();
    ASSERT_TRUE(service.isAtDefault()) << "a fresh process's " << service.name;
    service.change();
    ASSERT_FALSE(service.isAtDefault()) << "the change must show, or the reset proves nothing";
    platform::resetInstalledServices();
    EXPECT_TRUE(service.isAtDefault());
}

INSTANTIATE_TEST_SUITE_P(EveryRoom, InstalledServices, ::testing::ValuesIn(kServices),
                         [](const ::testing::TestParamInfo<Service>& tested) { return std::string(tested.param.name); });

// A service that a caller holds: installing another one, or a reset, leaves
// the caller's working.
struct HeldService {
    const char* name;
    // Installs a service away from its default, takes it from its slot and
    // returns a use of what it took, true while that still works.
    std::function<bool()> (*take)();
    void (*installAnother)();  // none where the service cannot be replaced
};

const HeldService kHeldServices[] = {
    {"MainRunLoop",
     [] {
         platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual));
         return std::function<bool()>([loop = platform::RunLoop::main()] {
             bool ran = false;
             loop->performAfterDelay(1.0, [&ran] { ran = true; });
             loop->advance(1.0);
             return ran && loop->isVirtual();
         });
     },
     [] { platform::RunLoop::setMain(std::make_shared<platform::RunLoop>(platform::RunLoop::Clock::Virtual)); }},
    {"MainBundle",
     [] {
         platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(resourcesWithLamp(), "en"));
         return std::function<bool()>([bundle = platform::Bundle::mainBundle()] {
             return bundle->bundleIdentifier() == "com.example.lamp" && bundle->pathForResource("lamp", "png");
         });
     },
     [] { platform::Bundle::setMainBundle(std::make_shared<platform::Bundle>(platform::Bundle::locateResources())); }},
    {"SettingsStore",
     [] {
         platform::UserDefaults::setStandardUserDefaults(platform::UserDefaults::inMemory("held"));
         return std::function<bool()>([defaults = platform::UserDefaults::standardUserDefaults()] {
             defaults->setInteger(defaults->integerForKey("uses") + 1, "uses");
             return defaults->domainName() == "held" && defaults->integerForKey("uses") > 0;
         });
     },
     [] { platform::UserDefaults::setStandardUserDefaults(platform::UserDefaults::inMemory("another")); }},
    {"Application",
     [] {
         return std::function<bool()>([application = platform::Application::sharedApplication()] {
             application->setNoWindowExplanation("held");
             return application->noWindowExplanation() == "held";
         });
     },
     nullptr},
};

using HeldServices = ResetAfterEach<HeldService>;

TEST_P(HeldServices, KeepWorkingForTheirHolderWhateverIsInstalledOrReset) {
    const HeldService& service = GetParam();
    const std::function<bool()> use = service.take();
    ASSERT_TRUE(use()) << "the service works while installed";
    if (service.installAnother) {
        service.installAnother();
        EXPECT_TRUE(use()) << "after another " << service.name << " was installed";
    }
    platform::resetInstalledServices();
    EXPECT_TRUE(use()) << "after the reset";
}

INSTANTIATE_TEST_SUITE_P(EveryHandedOutService, HeldServices, ::testing::ValuesIn(kHeldServices),
                         [](const ::testing::TestParamInfo<HeldService>& tested) {
                             return std::string(tested.param.name);
                         });

}  // namespace
