#include "app/TunerScreen.h"

#include "app/ExternalLinks.h"

namespace app {

std::map<std::string, platform::Control::Action> TunerScreen::actions() {
    auto all = tuner::ViewController::actions();
    all.merge(externalLinkActions());
    return all;
}

}  // namespace app
