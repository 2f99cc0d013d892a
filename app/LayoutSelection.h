#pragma once
// Which layout document a screen class gets: a lookup from the device family
// and the exact main-screen height in points to a layout name, or to none.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct LayoutChoice {
    std::optional<std::string> layoutName;
    // The lines to log, in order ("iPhone has a height of: %f" five times on a
    // phone, "iPad has a height of: %f" once on a tablet).
    std::vector<std::string> logLines;
};

// Pure: no platform call, no log of its own. Heights compare exactly.
LayoutChoice chooseLayout(int64_t userInterfaceIdiom, double screenHeight);

// The heights each class of screen has a layout for, lowest first, e.g.
// "phone layouts serve heights 480, 568, ... and 956; tablet layouts serve
// heights 1024, ... and 1376".
std::string servedHeights();

// Every layout name the table can give, in table order.
const std::vector<std::string>& allLayoutNames();

}  // namespace app
