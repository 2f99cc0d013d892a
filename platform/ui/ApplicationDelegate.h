#pragma once
// The application's delegate: the object the program names at start-up. The
// platform creates it, tells it that launching has finished, and tells it when
// the application becomes active, resigns, goes to the background, comes back
// and ends. It owns the window that shows the screens.
//
// Every call comes on the main thread.

#include <map>
#include <memory>
#include <string>

#include "platform/ui/Application.h"

namespace platform {

// The launch options handed to the delegate: what the application's own
// options on the command line were given, by their keys ("course": "3").
using LaunchOptionsDictionary = std::map<std::string, std::string>;

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;

    virtual const std::shared_ptr<Window>& window() const = 0;
    virtual void setWindow(std::shared_ptr<Window> window) = 0;

    // Once, after the platform services are in place and before the loop runs.
    virtual bool applicationDidFinishLaunchingWithOptions(Application& application,
                                                          const LaunchOptionsDictionary& launchOptions) = 0;

    // The window is about to lose the user's attention (the desktop: focus).
    virtual void applicationWillResignActive(Application& application) = 0;
    // The window was minimised.
    virtual void applicationDidEnterBackground(Application& application) = 0;
    // The minimised window is about to come back.
    virtual void applicationWillEnterForeground(Application& application) = 0;
    // The window has the user's attention (after launch and on regaining focus).
    virtual void applicationDidBecomeActive(Application& application) = 0;
    // The program is about to end.
    virtual void applicationWillTerminate(Application& application) = 0;
};

}  // namespace platform
