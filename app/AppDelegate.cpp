#include "app/AppDelegate.h"

#include "app/ExternalLinks.h"
#include "app/LayoutSelection.h"
#include "app/TunerScreen.h"
#include "chords/ChordsViewController.h"
#include "platform/core/Device.h"
#include "platform/core/Log.h"
#include "rating/RatingPrompt.h"

namespace app {

bool AppDelegate::applicationDidFinishLaunchingWithOptions(platform::Application&,
                                                           const platform::LaunchOptionsDictionary&) {
    using rating::RatingPrompt;
    RatingPrompt::setAppId(kAppStoreId);
    RatingPrompt::setDaysUntilPrompt(2.0);
    RatingPrompt::setUsesUntilPrompt(2);
    RatingPrompt::setSignificantEventsUntilPrompt(-1);
    RatingPrompt::setTimeBeforeReminding(2.0);
    RatingPrompt::setOpenInAppStore(true);
    RatingPrompt::appLaunched(true);
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
