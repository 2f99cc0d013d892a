// Pallqa Tuner's entry point: it puts the desktop's implementations of the
// platform services in place (platform/desktop), then hands the command line
// to the platform with "AppDelegate" as the application's delegate.

#include <memory>

#include "app/AppDelegate.h"
#include "app/Commands.h"
#include "app/LaunchOptions.h"
#include "app/ProgramGuard.h"
#include "app/Version.h"
#include "platform/desktop/DesktopServices.h"
#include "platform/launch/ApplicationMain.h"

namespace {

int runProgram(int argc, char** argv) {
    platform::ApplicationTables tables;
    platform::desktop::installDesktopServices(tables);
    tables.delegates = {{"AppDelegate", [] { return std::make_shared<app::AppDelegate>(); }}};
    tables.version = app::versionText();
    tables.commands = app::commands();
    tables.applicationOptions = app::declareLaunchOptions;
    return platform::UIApplicationMain(argc, argv, "AppDelegate", tables);
}

}  // namespace

// Nothing unexpected escapes: a clear message and status 1.
int main(int argc, char** argv) {
    return app::runGuarded([argc, argv] { return runProgram(argc, argv); });
}
