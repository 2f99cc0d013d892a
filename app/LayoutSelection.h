#pragma once
// Which layout document a screen class gets: a lookup from the device family
// and the exact main-screen height in points to a layout name, or to none.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// The heights each class of screen has a layout for, lowest first, as lists
// such as "480, 568 and 667" whose last two are joined by `andWord`.
struct ServedHeights {
    std::string phone;
    std::string tablet;
};
ServedHeights servedHeightLists(std::string_view andWord);

// Every layout name the table can give, in table order.
const std::vector<std::string>& allLayoutNames();

}  // namespace app
