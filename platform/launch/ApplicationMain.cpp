#include "platform/launch/ApplicationMain.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/core/Log.h"
#include "platform/core/RunLoop.h"
#include "platform/core/SystemLog.h"
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

// The first screen appears once launching has finished, as on the phone.
void showKeyWindow() {
    const auto& window = Application::sharedApplication().keyWindow();
    if (window && window->rootViewController()) window->rootViewController()->viewWillAppear(false);
}

}  // namespace

int UIApplicationMain(int argc, char** argv, const std::string& delegateClassName, const ApplicationTables& tables) {
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const CommandLineRequest request = readCommandLine(arguments, tables.commands, tables.version, std::cout, std::cerr);
    switch (request.kind) {
    case CommandLineRequest::Kind::Exit:
        return request.exitStatus;
    case CommandLineRequest::Kind::RunCommand:
        return request.command(std::cout, std::cerr);
    case CommandLineRequest::Kind::RunApplication:
        break;
    }
    const LaunchOptions& options = request.options;
    auto factory = tables.delegates.find(delegateClassName);
    if (factory == tables.delegates.end() || !factory->second) {
        std::fprintf(stderr, "%s: no application delegate class \"%s\"\n", programName(argc, argv).c_str(),
                     delegateClassName.c_str());
        return 1;
    }

    // The phone keeps its log out of the user's sight, in the system log; here
    // that is a file of the user's state, shown on the terminal only when asked.
    SystemLog::shared().redirect({SystemLog::defaultFile(), options.verbose ? stderr : nullptr});
    Device::setCurrent(options.device);
    const Bundle& bundle = Bundle::mainBundle();
    const std::string identifier = bundle.bundleIdentifier();
    UserDefaults::setStandardUserDefaults(UserDefaults::atFile(UserDefaults::defaultFileFor(identifier), identifier));
    // A fast run's timing runs on a virtual clock; the dates it stores stay the wall clock's.
    auto loop = options.fast ? std::make_shared<RunLoop>(RunLoop::Clock::Virtual, RunLoop::kVirtualEpoch,
                                                         RunLoop::Dates::WallClock)
                             : std::make_shared<RunLoop>(RunLoop::Clock::Real);
    RunLoop::setMain(loop);

    std::unique_ptr<Frontend> frontend = chooseFrontend(options, tables);
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
        std::fprintf(stderr, "%s: --fast needs --seconds here: the length of the recording is not known\n",
                     programName(argc, argv).c_str());
        return 1;
    }

    auto& delegate = delegateSlot();
    delegate = factory->second();
    Application& application = Application::sharedApplication();
    delegate->applicationDidFinishLaunchingWithOptions(application, {});
    showKeyWindow();
    delegate->applicationDidBecomeActive(application);
    // A recording that fails as the screen starts to listen ends the run
    // before it begins; one that fails later stops the loop.
    const auto inputFailed = [&audio] { return audio.inputFailed && audio.inputFailed(); };
    const int status = inputFailed() ? 1 : frontend->run(*loop, *delegate, seconds);
    delegate->applicationWillTerminate(application);
    return inputFailed() ? 1 : status;
}

}  // namespace platform
