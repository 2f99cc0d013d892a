#include "app/ExternalLinks.h"

#include "platform/ui/Application.h"

namespace app {
namespace {

std::string storePage(const char* appId) { return std::string("itms-apps://apps.apple.com/app/id") + appId; }

}  // namespace

const std::vector<ExternalLink>& externalLinks() {
    static const std::vector<ExternalLink> links = {
        {"redirectToTarveloLabs:", "https://www.tarvelolabs.com/"},
        {"reviewPallqaTuner:", storePage(kAppStoreId) + "?action=write-review"},
        {"openGuitarTuner:", storePage("1447470101")},
        {"openUkuleleTuner:", storePage("1447470102")},
        {"openViolinTuner:", storePage("1447470103")},
        {"openBassTuner:", storePage("1447470104")},
        {"openMandolinTuner:", storePage("1447470105")},
        {"openBanjoTuner:", storePage("1447470106")},
        {"openCelloTuner:", storePage("1447470107")},
        {"openHarpTuner:", storePage("1447470108")},
        {"openChromaticTuner:", storePage("1447470109")},
        {"openMetronome:", storePage("1447470110")},
        {"openChordFinder:", storePage("1447470111")},
        {"openEarTrainer:", storePage("1447470112")},
    };
    return links;
}

std::map<std::string, platform::Control::Action> externalLinkActions() {
    std::map<std::string, platform::Control::Action> actions;
    for (const auto& link : externalLinks()) {
        actions[link.action] = [address = link.address](platform::Control*) {
            platform::Application::sharedApplication()->openURL(address);
        };
    }
    return actions;
}

}  // namespace app
