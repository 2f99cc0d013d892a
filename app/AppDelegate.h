#pragma once
// The application's delegate: at launch it configures the rating prompt, counts
// the launch, and installs the layout chosen for the screen class in a new
// window, its guide locked on the course the launch options name, if any.

#include <memory>
#include <optional>

#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/LayoutLoader.h"

namespace app {

class AppDelegate : public platform::ApplicationDelegate {
public:
    const std::shared_ptr<platform::Window>& window() const override { return window_; }
    void setWindow(std::shared_ptr<platform::Window> window) override { window_ = std::move(window); }

    bool applicationDidFinishLaunchingWithOptions(platform::Application& application,
                                                  const platform::LaunchOptionsDictionary& launchOptions) override;
    // Chooses the layout by device family and exact screen height and shows
    // its initial screen; a screen class without a layout gets no window.
    void initializeStoryBoardBasedOnScreenSize();
    bool prefersStatusBarHidden() const { return true; }

    // Nothing to do at these moments.
    void applicationWillResignActive(platform::Application&) override {}
    void applicationDidEnterBackground(platform::Application&) override {}
    void applicationWillEnterForeground(platform::Application&) override {}
    void applicationDidBecomeActive(platform::Application&) override {}
    void applicationWillTerminate(platform::Application&) override {}

    // The screen classes the layout documents name.
    static platform::ControllerFactories controllerClasses();

private:
    // Names, on stderr and in the empty window, the heights that have a layout.
    void explainUnservedScreen();

    std::shared_ptr<platform::Window> window_;
    std::optional<int> courseToLock_;  // the course the guide starts locked on
};

}  // namespace app
