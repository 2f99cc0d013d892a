#pragma once
// The tuner screen's buttons that leave the program: the maker's web site, this
// application's write-a-review page in the store, and the store pages of the
// maker's other applications.

#include <map>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"

namespace app {

// The application's store identifier, also given to the rating prompt.
inline constexpr const char* kAppStoreId = "1447470931";

struct ExternalLink {
    std::string action;   // the selector a layout connects, e.g. "reviewPallqaTuner:"
    std::string address;
};

// All fourteen links, the web site and this application's review page first.
const std::vector<ExternalLink>& externalLinks();

// Each link as an action that opens its address through the application.
std::map<std::string, platform::Control::Action> externalLinkActions();

}  // namespace app
