#include "app/AppDelegate.h"

#include "app/ExternalLinks.h"
#include "app/LayoutSelection.h"
#include "app/TunerScreen.h"
#include "chords/ChordsViewController.h"
#include "platform/Device.h"
#include "platform/Log.h"
#include "rating/Appirater.h"

namespace app {

bool AppDelegate::applicationDidFinishLaunchingWithOptions(platform::Application&,
                                                           const platform::LaunchOptionsDictionary&) {
    using rating::Appirater;
    Appirater::setAppId(kAppStoreId);
    Appirater::setDaysUntilPrompt(2.0);
    Appirater::setUsesUntilPrompt(2);
    Appirater::setSignificantEventsUntilPrompt(-1);
    Appirater::setTimeBeforeReminding(2.0);
    Appirater::setOpenInAppStore(true);
    Appirater::appLaunched(true);
    initializeStoryBoardBasedOnScreenSize();
    return true;
}

void AppDelegate::initializeStoryBoardBasedOnScreenSize() {
    const LayoutChoice choice =
        chooseLayout(platform::Device::userInterfaceIdiom(), platform::Screen::mainBoundsHeight());
    for (const auto& line : choice.logLines) platform::NSLog("%@", line);
    if (!choice.layoutName) return;

    const auto storyboard = platform::Storyboard::storyboardWithName(*choice.layoutName, controllerClasses());
    if (!storyboard) return;  // the loader has said what is wrong with the document
    auto initialScreen = storyboard->instantiateInitialViewController();
    auto window = std::make_shared<platform::Window>(platform::Screen::mainBounds());
    setWindow(window);
    window->setRootViewController(std::move(initialScreen));
    window->makeKeyAndVisible();
}

platform::ControllerFactories AppDelegate::controllerClasses() {
    return {
        {"ViewController", [] { return std::make_shared<TunerScreen>(); }},
        {"ChordsViewController", [] { return std::make_shared<chords::ChordsViewController>(); }},
    };
}

}  // namespace app
