// Pallqa Tuner's entry point: a console command when the first argument names
// one, otherwise the application, handed to the platform with "AppDelegate".

#include <memory>
#include <string>
#include <vector>

#include "app/AppDelegate.h"
#include "app/Commands.h"
#include "app/ProgramGuard.h"
#include "app/Usage.h"
#include "platform/launch/ApplicationMain.h"
#include "platform/net/curl/CurlHttpTransport.h"
#include "platform/net/UrlSession.h"
#include "platform/audio/SoundFileWriter.h"
#include "platform/audio/desktop/DesktopAudio.h"
#include "platform/audio/desktop/SndfileWriter.h"
#include "platform/ui/qt/QtFrontend.h"

namespace {

int runProgram(int argc, char** argv) {
    // Sound files (tone --out) are written by libsndfile.
    platform::setSoundFileWriterFactory(platform::media::makeSndfileWavWriter);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty()) {
        for (const auto& command : app::commands()) {
            if (command.name == arguments.front()) {
                return command.run(std::span<const std::string>(arguments).subspan(1));
            }
        }
    }

    // The rating prompt's network test really goes out from the program; tests
    // keep the recording transport.
    platform::setHttpTransport(std::make_shared<platform::net::CurlHttpTransport>());

    platform::ApplicationTables tables;
    tables.delegates = {{"AppDelegate", [] { return std::make_shared<app::AppDelegate>(); }}};
    tables.version = app::versionText();
    tables.helpFooter = app::commandsHelp();
    tables.openWindow = platform::qt::openWindowFrontend;
    tables.setUpAudio = platform::media::setUpDesktopAudio;
    return platform::UIApplicationMain(argc, argv, "AppDelegate", tables);
}

}  // namespace

// Nothing unexpected escapes: a clear message and status 1.
int main(int argc, char** argv) {
    return app::runGuarded([argc, argv] { return runProgram(argc, argv); });
}
