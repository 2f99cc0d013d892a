#include "platform/launch/ApplicationMain.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <vector>

#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/core/SystemLog.h"
#include "platform/core/TerminalText.h"
#include "platform/core/UserFolders.h"
#include "platform/launch/ConsoleFrontend.h"
#include "platform/store/UserDefaults.h"

namespace platform {
namespace {

std::string programName(int argc, char** argv) {
    if (argc < 1 || !argv[0]) return "pallqa-tuner";
    const std::string path = argv[0];
    return path.substr(path.find_last_of('/') + 1);
}

// The delegate lives as long as the process, as the application object keeps it.
// It is never destroyed: its window and screens reach services whose own static
// objects may already be gone while the process exits, and there is nothing to
// tidy that the end of the process does not.
std::shared_ptr<ApplicationDelegate>& delegateSlot() {
    static std::shared_ptr<ApplicationDelegate>& delegate = *new std::shared_ptr<ApplicationDelegate>;
    return delegate;
}

std::unique_ptr<Frontend> chooseFrontend(const LaunchOptions& options, const ApplicationTables& tables) {
    if (!options.headless) {
        if (tables.openWindow) {
            if (auto window = tables.openWindow(options)) return window;
        }
        NSLogAndTellUser("No display: the screen is shown on the console");
    }
    return std::make_unique<ConsoleFrontend>(std::cout);
}

// The log's file in the user's state folder, when there is one of the user's own.
std::optional<std::filesystem::path> logFile(const UserFolder& state) {
    if (!state.path) return std::nullopt;
    return *state.path / SystemLog::kFileName;
}

// The phone keeps its log out of the user's sight, in the system log; here
// that is a file of the user's state, shown on the terminal only when asked.
// Settings are kept in a file of the user's configuration. Without a folder of
// the user's own for them, the log goes to stderr and the settings stay in
// memory, which the user is told once.
void keepLogAndSettings(const LaunchOptions& options, const std::string& identifier) {
    const UserFolder state = stateFolder();
    const UserFolder config = configFolder();
    SystemLog::shared().redirect({logFile(state), options.verbose || !state.path ? stderr : nullptr});
    UserDefaults::setStandardUserDefaults(config.path
                                              ? UserDefaults::atFile(*config.path / (identifier + ".json"), identifier)
                                              : UserDefaults::inMemory(identifier));
    if (!state.path && !config.path && state.problem == config.problem) {
        NSLogAndTellUser("%@: settings are kept in memory only and the log goes to stderr", config.problem);
        return;
    }
    if (!state.path) NSLogAndTellUser("The log goes to stderr: %@", state.problem);
    if (!config.path) NSLogAndTellUser("Settings are kept in memory only: %@", config.problem);
}

// The first screen appears once launching has finished, as on the phone.
void showKeyWindow() {
    const auto window = Application::sharedApplication()->keyWindow();
    if (window && window->rootViewController()) window->rootViewController()->viewWillAppear(false);
}

}  // namespace

int UIApplicationMain(int argc, char** argv, const std::string& delegateClassName, const ApplicationTables& tables) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const CommandLineRequest request = readCommandLine(arguments, tables.commands, tables.version, std::cout, std::cerr, tables.applicationOptions);
    switch (request.kind) {
    case CommandLineRequest::Kind::Exit:
        return request.exitStatus;
    case CommandLineRequest::Kind::RunCommand:
        // What a command logs (a library's warnings) goes to the log's file too;
        // without one it stays on stderr.
        if (const auto file = logFile(stateFolder())) SystemLog::shared().redirect({file, nullptr});
        return request.command(std::cout, std::cerr);
    case CommandLineRequest::Kind::RunApplication:
        break;
    }
    const LaunchOptions& options = request.options;
    auto factory = tables.delegates.find(delegateClassName);
    if (factory == tables.delegates.end() || !factory->second) {
        std::fprintf(stderr, "%s: %s\n", programName(argc, argv).c_str(),
                     terminalText("no application delegate class \"%@\"", delegateClassName).c_str());
        return 1;
    }

    Device::setCurrent(options.device);
    keepLogAndSettings(options, Bundle::mainBundle()->bundleIdentifier());
    // A fast run's timing runs on a virtual clock; the dates it stores stay the wall clock's.
    auto loop = options.fast ? std::make_shared<RunLoop>(RunLoop::Clock::Virtual, RunLoop::kVirtualEpoch,
                                                         RunLoop::Dates::WallClock)
                             : std::make_shared<RunLoop>(RunLoop::Clock::Real);
    RunLoop::setMain(loop);

    std::unique_ptr<Frontend> frontend;
    try {
        frontend = chooseFrontend(options, tables);
    } catch (const std::runtime_error& unavailable) {
        std::fprintf(stderr, "%s: %s\n", programName(argc, argv).c_str(), unavailable.what());
        return 1;
    }
    const AudioChoice audio = tables.setUpAudio ? tables.setUpAudio(options) : AudioChoice{};
    if (!audio.error.empty()) {
        std::fprintf(stderr, "%s: %s\n", programName(argc, argv).c_str(), audio.error.c_str());
    }
    if (audio.endStatus) return *audio.endStatus;
    if (!audio.error.empty()) return 1;
    std::optional<double> seconds = options.seconds;
    if (options.input && audio.inputSeconds) {
        seconds = std::min(seconds.value_or(*audio.inputSeconds + kSecondsAfterRecording),
                           *audio.inputSeconds + kSecondsAfterRecording);
    }
    if (options.fast && !seconds) {
        std::fprintf(stderr, "%s: %s\n", programName(argc, argv).c_str(),
                     terminalText("--fast needs --seconds here: the length of the recording is not known").c_str());
        return 1;
    }
    // A fast run waits for its input no longer than the run would last in real time.
    if (options.fast) {
        loop->setWallClockLimit(std::chrono::steady_clock::now() +
                                std::chrono::duration_cast<RunLoop::WallClockTime::duration>(
                                    std::chrono::duration<double>(*seconds)));
    }

    auto& delegate = delegateSlot();
    delegate = factory->second();
    const auto application = Application::sharedApplication();
    delegate->applicationDidFinishLaunchingWithOptions(*application, options.application);
    // A console with no screen to show has nothing to run for; the delegate has said why.
    if (!application->keyWindow() && dynamic_cast<const ConsoleFrontend*>(frontend.get()) != nullptr) return 1;
    showKeyWindow();
    delegate->applicationDidBecomeActive(*application);
    // A recording that fails as the screen starts to listen ends the run
    // before it begins; one that fails later stops the loop.
    const auto inputFailed = [&audio] { return audio.inputFailed && audio.inputFailed(); };
    const int status = inputFailed() ? 1 : frontend->run(*loop, *delegate, seconds);
    delegate->applicationWillTerminate(*application);
    return inputFailed() ? 1 : status;
}

}  // namespace platform
