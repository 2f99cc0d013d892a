// Pallqa Tuner's entry point: the one place that chooses the desktop's
// implementations of the platform services (the window, the sound card, sound
// files, pictures, the network), then hands the command line to the platform with
// "AppDelegate" as the application's delegate.

#include <memory>

#include "app/AppDelegate.h"
#include "app/Commands.h"
#include "app/ProgramGuard.h"
#include "app/Usage.h"
#include "platform/audio/SoundFileWriter.h"
#include "platform/audio/desktop/DesktopAudio.h"
#include "platform/audio/desktop/SndfileWriter.h"
#include "platform/launch/ApplicationMain.h"
#include "platform/net/UrlSession.h"
#include "platform/net/curl/CurlHttpTransport.h"
#include "platform/ui/PictureFile.h"
#include "platform/ui/cairo/CairoPictureFile.h"
#include "platform/ui/qt/QtFrontend.h"

namespace {

int runProgram(int argc, char** argv) {
    // The rating prompt's network test really goes out from the program; tests
    // keep the recording transport.
    platform::setHttpTransport(std::make_shared<platform::net::CurlHttpTransport>());
    // Sound files (tone --out) are written by libsndfile.
    platform::setSoundFileWriterFactory(platform::media::makeSndfileWavWriter);
    // Pictures (analyze --plot) are written by cairo.
    platform::setPictureFileMaker(platform::cairo::makeCairoPictureFile);
    platform::media::installDesktopAudio();

    platform::ApplicationTables tables;
    tables.delegates = {{"AppDelegate", [] { return std::make_shared<app::AppDelegate>(); }}};
    tables.version = app::versionText();
    tables.commands = app::commands();
    tables.openWindow = platform::qt::openWindowFrontend;
    tables.setUpAudio = platform::media::setUpDesktopAudio;
    return platform::UIApplicationMain(argc, argv, "AppDelegate", tables);
}

}  // namespace

// Nothing unexpected escapes: a clear message and status 1.
int main(int argc, char** argv) {
    return app::runGuarded([argc, argv] { return runProgram(argc, argv); });
}
