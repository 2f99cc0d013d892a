#include "platform/launch/ApplicationMain.h"

#include <gtest/gtest.h>

#include <chrono>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>

#include <CLI/CLI.hpp>

#include "platform/core/NotificationCenter.h"
#include "platform/core/SystemLog.h"
#include "platform/ui/Controls.h"
#include "tests/support/PlainPlatform.h"

namespace {

using platform::LaunchOptions;

struct OptionsCase {
    std::vector<std::string> arguments;
    std::function<void(const LaunchOptions&)> check;
};

struct BadOptionsCase {
    std::vector<std::string> arguments;
    std::string error;  // a part of the message
};

TEST(LaunchOptionsTest, ReadsThePlatformsOptions) {
    const OptionsCase cases[] = {
        {{},
         [](const LaunchOptions& o) {
             EXPECT_FALSE(o.headless);
             EXPECT_FALSE(o.verbose);
             EXPECT_FALSE(o.fast);
             EXPECT_FALSE(o.input);
             EXPECT_FALSE(o.seconds);
             EXPECT_EQ(o.device.userInterfaceIdiom, 0);
             EXPECT_EQ(o.device.screenHeight, 844.0);
             EXPECT_EQ(o.device.screenWidth, 390.0);
         }},
        {{"--headless"}, [](const LaunchOptions& o) { EXPECT_TRUE(o.headless); }},
        {{"--verbose"}, [](const LaunchOptions& o) { EXPECT_TRUE(o.verbose); }},
        {{"--input", "a4.wav", "--fast"},
         [](const LaunchOptions& o) {
             EXPECT_EQ(o.input, std::filesystem::path("a4.wav"));
             EXPECT_TRUE(o.fast);
         }},
        {{"--input=take 2.flac"}, [](const LaunchOptions& o) { EXPECT_EQ(o.input, std::filesystem::path("take 2.flac")); }},
        {{"--seconds", "2.5"}, [](const LaunchOptions& o) { EXPECT_EQ(o.seconds, 2.5); }},
        {{"--screen", "tablet:1194"},
         [](const LaunchOptions& o) {
             EXPECT_EQ(o.device.userInterfaceIdiom, 1);
             EXPECT_EQ(o.device.screenHeight, 1194.0);
             EXPECT_EQ(o.device.screenWidth, 834.0);
         }},
        {{"--screen=phone:667"}, [](const LaunchOptions& o) { EXPECT_EQ(o.device.screenWidth, 375.0); }},
        {{"--screen", "phone:667.5"}, [](const LaunchOptions& o) { EXPECT_EQ(o.device.screenHeight, 667.5); }},
        {{"--screen", "phone:800"},
         [](const LaunchOptions& o) {
             EXPECT_EQ(o.device.screenHeight, 800.0);
             EXPECT_EQ(o.device.screenWidth, 375.0) << "the nearest real phone is 812 points high";
         }},
        {{"--list-devices"}, [](const LaunchOptions& o) { EXPECT_TRUE(o.listDevices); }},
        {{"--input-device", "USB", "--output-device=Built-in speakers"},
         [](const LaunchOptions& o) {
             EXPECT_EQ(o.inputDevice, "USB");
             EXPECT_EQ(o.outputDevice, "Built-in speakers");
             EXPECT_FALSE(o.listDevices);
         }},
    };
    for (const auto& c : cases) {
        const auto parsed = platform::parseLaunchOptions(c.arguments);
        EXPECT_EQ(parsed.error, "") << ::testing::PrintToString(c.arguments);
        c.check(parsed.options);
    }
}

TEST(LaunchOptionsTest, RefusesBadOptionsSayingWhy) {
    const BadOptionsCase cases[] = {
        {{"--fast"}, "--fast needs --input"},
        {{"--input"}, "--input needs a value"},
        {{"--input", "--headless"}, "--input needs a value"},
        {{"--seconds", "--fast", "--input", "a.wav"}, "--seconds needs a value"},
        {{"--input="}, "--input needs a value"},
        {{"--seconds", "1", "--seconds", "2"}, "--seconds is given more than once; give it one value"},
        {{"--screen", "phone:667", "--screen=tablet:1194"}, "--screen is given more than once; give it one value"},
        {{"--seconds", "0"}, "--seconds needs a number of seconds above 0, not \"0\""},
        {{"--seconds", "soon"}, "not \"soon\""},
        {{"--seconds", "inf"}, "not \"inf\""},
        {{"--screen", "watch:300"}, "--screen needs phone:HEIGHT or tablet:HEIGHT"},
        {{"--screen", "phone"}, "--screen needs phone:HEIGHT or tablet:HEIGHT"},
        {{"--screen", "tablet:-5"}, "--screen needs phone:HEIGHT or tablet:HEIGHT"},
        {{"--headless=yes"}, "--headless takes no value"},
        {{"--verbose=1"}, "--verbose takes no value"},
        {{"--input-device"}, "--input-device needs a value"},
        {{"--output-device="}, "--output-device needs a"},
        {{"--list-devices=no"}, "--list-devices takes no value"},
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"tune"}, "unknown command \"tune\""},
    };
    for (const auto& c : cases) {
        const auto parsed = platform::parseLaunchOptions(c.arguments);
        EXPECT_NE(parsed.error.find(c.error), std::string::npos)
            << ::testing::PrintToString(c.arguments) << ": " << parsed.error;
    }
}

// What the test delegate saw, in order.
std::vector<std::string>& events() {
    static std::vector<std::string> list;
    return list;
}

// Shows one screen with one label, changed once on launch and once 1.5 s
// later; notes the launch options it is given.
class TestDelegate : public platform::ApplicationDelegate {
public:
    class Screen : public platform::ViewController {
    public:
        void viewWillAppear(bool) override { events().push_back("viewWillAppear"); }
    };

    const std::shared_ptr<platform::Window>& window() const override { return window_; }
    void setWindow(std::shared_ptr<platform::Window> window) override { window_ = std::move(window); }
    bool applicationDidFinishLaunchingWithOptions(platform::Application&,
                                                  const platform::LaunchOptionsDictionary& options) override {
        for (const auto& [key, value] : options) events().push_back("option " + key + "=" + value);
        const auto& device = platform::Device::current();
        events().push_back("launched on " + std::to_string(device.userInterfaceIdiom) + ":" +
                           std::to_string(static_cast<int>(device.screenHeight)));
        platform::UserDefaults::standardUserDefaults()->setInteger(1, "launches");
        platform::UserDefaults::standardUserDefaults()->synchronize();
        auto screen = std::make_shared<Screen>();
        auto note = std::make_shared<platform::Label>();
        note->setName("noteDisplay");
        screen->view()->addSubview(note);
        note->setText("ready");
        platform::RunLoop::main()->performAfterDelay(1.5, [note] { note->setText("A4"); });
        setWindow(std::make_shared<platform::Window>(platform::Screen::mainBounds()));
        window_->setRootViewController(screen);
        window_->makeKeyAndVisible();
        return true;
    }
    void applicationWillResignActive(platform::Application&) override { events().push_back("willResignActive"); }
    void applicationDidEnterBackground(platform::Application&) override { events().push_back("didEnterBackground"); }
    void applicationWillEnterForeground(platform::Application&) override { events().push_back("willEnterForeground"); }
    void applicationDidBecomeActive(platform::Application&) override { events().push_back("didBecomeActive"); }
    void applicationWillTerminate(platform::Application&) override { events().push_back("willTerminate"); }

private:
    std::shared_ptr<platform::Window> window_;
};

class ApplicationMainTest : public testing_support::PlainPlatformTest {
protected:
    void SetUp() override {
        PlainPlatformTest::SetUp();
        events().clear();
        configHome = testing_support::temporaryFolder() / "config";
        const char* previous = std::getenv("XDG_CONFIG_HOME");
        previousConfigHome = previous ? std::optional<std::string>(previous) : std::nullopt;
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        stateHome = testing_support::temporaryFolder() / "state";
        const char* previousState = std::getenv("XDG_STATE_HOME");
        previousStateHome = previousState ? std::optional<std::string>(previousState) : std::nullopt;
        setenv("XDG_STATE_HOME", stateHome.c_str(), 1);
        tables.delegates["TestDelegate"] = [] { return std::make_shared<TestDelegate>(); };
        tables.version = "pallqa-tuner 9.9\n";
        tables.commands = {{"tone", "play a tone", [](CLI::App& command) -> platform::CommandRunner {
                                auto note = std::make_shared<std::string>();
                                command.add_option("NOTE", *note, "the note")->required();
                                return [note](std::ostream& out, std::ostream&) {
                                    out << "tone " << *note << "\n";
                                    return 7;
                                };
                            }}};
        tables.setUpAudio = [this](const LaunchOptions& options) {
            events().push_back("audio for " + (options.input ? options.input->string() : std::string("microphone")));
            return recording;
        };
    }
    void TearDown() override {
        if (previousConfigHome) {
            setenv("XDG_CONFIG_HOME", previousConfigHome->c_str(), 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        previousStateHome ? setenv("XDG_STATE_HOME", previousStateHome->c_str(), 1) : unsetenv("XDG_STATE_HOME");
        platform::SystemLog::shared().redirect({});
        PlainPlatformTest::TearDown();
    }

    int launch(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "/usr/bin/pallqa-tuner");
        std::vector<char*> argv;
        for (auto& argument : arguments) argv.push_back(argument.data());
        return platform::UIApplicationMain(static_cast<int>(argv.size()), argv.data(), "TestDelegate", tables);
    }

    platform::ApplicationTables tables;
    platform::AudioChoice recording{2.0, ""};
    std::filesystem::path configHome;
    std::optional<std::string> previousConfigHome;
    std::filesystem::path stateHome;
    std::optional<std::string> previousStateHome;
};

// The text of the log file the launches wrote.
std::string logFileText(const std::filesystem::path& stateHome) {
    std::ifstream in(stateHome / "pallqa-tuner" / "pallqa-tuner.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(ApplicationMainTest, ConsoleRunOfARecordingEndsShortlyAfterIt) {
    testing::internal::CaptureStdout();
    const int status = launch({"--input", "a4.wav", "--fast", "--headless", "--screen", "tablet:1024"});
    const std::string screen = testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0);
    EXPECT_EQ(events(), (std::vector<std::string>{"audio for a4.wav", "launched on 1:1024", "viewWillAppear",
                                                  "didBecomeActive", "willTerminate"}));
    EXPECT_EQ(screen, "0.00 noteDisplay=\"ready\"\n1.50 noteDisplay=\"A4\"\n");
    EXPECT_DOUBLE_EQ(platform::RunLoop::main()->elapsed(), 2.0 + platform::kSecondsAfterRecording);
    EXPECT_TRUE(platform::RunLoop::main()->isVirtual());
    EXPECT_TRUE(std::filesystem::exists(configHome / "pallqa-tuner" / "com.tarvelolabs.pallqatuner.json"));
    EXPECT_EQ(platform::UserDefaults::standardUserDefaults()->integerForKey("launches"), 1);
    EXPECT_FALSE(log->contains("No display: the screen is shown on the console"));
}

TEST_F(ApplicationMainTest, TheApplicationsOwnOptionsReachItsDelegateAsItsLaunchOptions) {
    tables.applicationOptions = [](CLI::App& program, platform::LaunchOptionsDictionary& given) {
        program.add_option_function<std::string>(
            "--colour", [&given](const std::string& colour) { given["colour"] = colour; }, "a colour");
    };
    for (const bool given : {true, false}) {
        events().clear();
        std::vector<std::string> arguments{"--input", "a4.wav", "--fast", "--headless"};
        if (given) arguments.insert(arguments.end(), {"--colour", "red"});
        testing::internal::CaptureStdout();
        EXPECT_EQ(launch(arguments), 0);
        testing::internal::GetCapturedStdout();
        ASSERT_GE(events().size(), 2u);
        EXPECT_EQ(events()[1], given ? "option colour=red" : "launched on 0:844");
    }
}

TEST_F(ApplicationMainTest, ARecordingThatFailsAsTheScreenListensEndsTheRunAtOnceWithStatusOne) {
    recording.inputFailed = [] { return true; };
    for (const bool fast : {true, false}) {
        events().clear();
        testing::internal::CaptureStdout();
        std::vector<std::string> arguments{"--input", "a4.wav", "--headless"};
        if (fast) arguments.push_back("--fast");
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(launch(arguments), 1) << (fast ? "fast" : "real time");
        testing::internal::GetCapturedStdout();
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
        EXPECT_EQ(events().back(), "willTerminate");
    }
}

TEST_F(ApplicationMainTest, AFastRunKeepsWallClockDatesForWhatIsStored) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(launch({"--input", "a4.wav", "--fast", "--headless"}), 0);
    testing::internal::GetCapturedStdout();
    const double wallClock =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_EQ(platform::RunLoop::main()->now(), platform::RunLoop::kVirtualEpoch + 2.0 + platform::kSecondsAfterRecording);
    EXPECT_NEAR(platform::RunLoop::main()->date(), wallClock, 60.0);
}

TEST_F(ApplicationMainTest, SecondsEndTheRunWhenTheyComeFirst) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(launch({"--input", "a4.wav", "--fast", "--seconds", "1"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "0.00 noteDisplay=\"ready\"\n");
    EXPECT_DOUBLE_EQ(platform::RunLoop::main()->elapsed(), 1.0);
    EXPECT_EQ(log->count("No display: the screen is shown on the console"), 1u)
        << "without a window to open, the console is said once";
}

TEST_F(ApplicationMainTest, TheLogGoesToAFileOfTheUsersStateAndToStderrOnlyWhenVerbose) {
    log.reset();
    const std::string line = "] No display: the screen is shown on the console\n";
    for (const bool verbose : {false, true}) {
        std::filesystem::remove_all(stateHome);
        std::vector<std::string> arguments = {"--input", "a4.wav", "--fast", "--seconds", "1"};
        if (verbose) arguments.push_back("--verbose");
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(launch(arguments), 0);
        const std::string err = testing::internal::GetCapturedStderr();
        testing::internal::GetCapturedStdout();
        EXPECT_NE(logFileText(stateHome).find(line), std::string::npos) << logFileText(stateHome);
        // The log's own line only when verbose; the user is told once either way.
        EXPECT_EQ(err.find(line) != std::string::npos, verbose) << err;
        const std::string told = "No display: the screen is shown on the console\n";
        EXPECT_NE(err.find(told), std::string::npos) << err;
        EXPECT_EQ(err.find(told), err.rfind(told)) << err;
    }
}

TEST_F(ApplicationMainTest, WindowIsUsedWhenOneOpens) {
    struct FakeWindow : platform::Frontend {
        int run(platform::RunLoop& loop, platform::ApplicationDelegate& delegate, std::optional<double> seconds) override {
            events().push_back("window runs " + std::to_string(seconds.value_or(0)).substr(0, 3));
            delegate.applicationWillResignActive(*platform::Application::sharedApplication());
            return loop.isVirtual() ? 3 : 4;
        }
    };
    tables.openWindow = [](const LaunchOptions&) { return std::make_unique<FakeWindow>(); };
    EXPECT_EQ(launch({"--input", "a4.wav", "--fast"}), 3);
    EXPECT_EQ(events()[4], "window runs 3.0");
    EXPECT_EQ(events()[5], "willResignActive");
    EXPECT_FALSE(log->contains("No display: the screen is shown on the console"));

    events().clear();
    testing::internal::CaptureStdout();
    EXPECT_EQ(launch({"--input", "a4.wav", "--fast", "--headless"}), 0) << "--headless keeps the window shut";
    testing::internal::GetCapturedStdout();
}

TEST_F(ApplicationMainTest, HelpVersionAndBadOptions) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(launch({"--help"}), 0);
    const std::string help = testing::internal::GetCapturedStdout();
    EXPECT_NE(help.find("--screen CLASS:H"), std::string::npos);
    EXPECT_NE(help.find("(default phone:844)"), std::string::npos);
    EXPECT_NE(help.find("tone                        play a tone"), std::string::npos);

    testing::internal::CaptureStdout();
    EXPECT_EQ(launch({"tone", "--help"}), 0);
    EXPECT_NE(testing::internal::GetCapturedStdout().find("Usage: pallqa-tuner tone [OPTIONS] NOTE"), std::string::npos);

    testing::internal::CaptureStdout();
    EXPECT_EQ(launch({"tone", "A4"}), 7) << "a command runs instead of the application, its status the program's";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "tone A4\n");

    testing::internal::CaptureStdout();
    EXPECT_EQ(launch({"--version"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "pallqa-tuner 9.9\n");

    testing::internal::CaptureStderr();
    EXPECT_EQ(launch({"--seconds", "-1"}), 2);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_EQ(error.rfind("pallqa-tuner: --seconds needs a number", 0), 0u) << error;
    EXPECT_NE(error.find("Run 'pallqa-tuner --help' for usage."), std::string::npos);
    EXPECT_TRUE(events().empty()) << "nothing starts after bad options";
}

TEST_F(ApplicationMainTest, RefusesRunsThatCannotStartOrEnd) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(platform::UIApplicationMain(1, std::vector<char*>{const_cast<char*>("pallqa-tuner")}.data(), "Nobody",
                                          tables),
              1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no application delegate class \"Nobody\""), std::string::npos);

    recording = {};
    testing::internal::CaptureStderr();
    EXPECT_EQ(launch({"--input", "a4.wav", "--fast"}), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("--fast needs --seconds here"), std::string::npos);

    recording.error = "a4.wav: no such file";
    testing::internal::CaptureStderr();
    EXPECT_EQ(launch({"--input", "a4.wav", "--seconds", "1", "--headless"}), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "pallqa-tuner: a4.wav: no such file\n");
    EXPECT_EQ(std::count(events().begin(), events().end(), "launched on 0:844"), 0) << "nothing launches without its sound";
}

}  // namespace
