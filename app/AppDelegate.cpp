#include "app/AppDelegate.h"

#include <cstdio>

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
    if (!choice.layoutName) {
        explainUnservedScreen();
        return;
    }

    const auto storyboard = platform::Storyboard::storyboardWithName(*choice.layoutName, controllerClasses());
    if (!storyboard) return;  // the loader has said what is wrong with the document
    auto initialScreen = storyboard->instantiateInitialViewController();
    auto window = std::make_shared<platform::Window>(platform::Screen::mainBounds());
    setWindow(window);
    window->setRootViewController(std::move(initialScreen));
    window->makeKeyAndVisible();
}

void AppDelegate::explainUnservedScreen() {
    const std::string family = platform::Device::userInterfaceIdiom() == platform::Device::kIdiomTablet ? "tablet"
                               : platform::Device::userInterfaceIdiom() == platform::Device::kIdiomPhone ? "phone"
                                                                                                         : "screen";
    const std::string heights = servedHeights();
    // Said on stderr whatever the log shows: the program runs on, but shows nothing.
    std::fprintf(stderr, "pallqa-tuner: no layout for a %s %g points high; %s\n", family.c_str(),
                 platform::Screen::mainBoundsHeight(), heights.c_str());
    platform::Application::sharedApplication().setNoWindowExplanation("The " + heights + ".");
}

platform::ControllerFactories AppDelegate::controllerClasses() {
    return {
        {"ViewController", [] { return std::make_shared<TunerScreen>(); }},
        {"ChordsViewController", [] { return std::make_shared<chords::ChordsViewController>(); }},
    };
}

}  // namespace app
