#include "app/AppDelegate.h"

#include "app/ExternalLinks.h"
#include "app/LaunchOptions.h"
#include "app/LayoutSelection.h"
#include "app/TunerScreen.h"
#include "chords/ChordsViewController.h"
#include "platform/core/Bundle.h"
#include "platform/core/Device.h"
#include "platform/core/Log.h"
#include "platform/core/TerminalText.h"
#include "rating/RatingPrompt.h"

namespace app {

bool AppDelegate::applicationDidFinishLaunchingWithOptions(platform::Application&,
                                                           const platform::LaunchOptionsDictionary& launchOptions) {
    using rating::RatingPrompt;
    RatingPrompt::setAppId(kAppStoreId);
    RatingPrompt::setDaysUntilPrompt(2.0);
    RatingPrompt::setUsesUntilPrompt(2);
    RatingPrompt::setSignificantEventsUntilPrompt(-1);
    RatingPrompt::setTimeBeforeReminding(2.0);
    RatingPrompt::setOpenInAppStore(true);
    RatingPrompt::appLaunched(true);
    courseToLock_ = courseToLock(launchOptions);
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
    if (auto tunerScreen = std::dynamic_pointer_cast<tuner::ViewController>(initialScreen); tunerScreen && courseToLock_) {
        tunerScreen->lockCourse(courseToLock_);
    }
    auto window = std::make_shared<platform::Window>(platform::Screen::mainBounds());
    setWindow(window);
    window->setRootViewController(std::move(initialScreen));
    window->makeKeyAndVisible();
}

void AppDelegate::explainUnservedScreen() {
    const int64_t idiom = platform::Device::userInterfaceIdiom();
    const double height = platform::Screen::mainBoundsHeight();
    const auto bundle = platform::Bundle::mainBundle();
    const ServedHeights lists = servedHeightLists(bundle->localizedString("ListAnd", "and", ""));
    // Said on stderr whatever the log shows: the program runs on, but shows nothing.
    using platform::terminalText;
    const std::string unserved = terminalText(idiom == platform::Device::kIdiomTablet ? "no layout for a tablet %g points high"
                                              : idiom == platform::Device::kIdiomPhone ? "no layout for a phone %g points high"
                                                                                        : "no layout for a screen %g points high",
                                              height);
    const std::string heights =
        terminalText("phone layouts serve heights %@; tablet layouts serve heights %@", lists.phone, lists.tablet);
    platform::tellOnStderr(unserved + "; " + heights);
    // The window says the same.
    const platform::LogArg served[] = {lists.phone, lists.tablet};
    platform::Application::sharedApplication()->setNoWindowExplanation(platform::formatMessage(
        bundle->localizedString("NoLayoutHeights", "The phone layouts serve heights %@; tablet layouts serve heights %@.",
                               ""),
        served));
}

platform::ControllerFactories AppDelegate::controllerClasses() {
    return {
        {"ViewController", [] { return std::make_shared<TunerScreen>(); }},
        {"ChordsViewController", [] { return std::make_shared<chords::ChordsViewController>(); }},
    };
}

}  // namespace app
