#pragma once

namespace platform {

// A rectangle in points, origin at the top left.
struct Rect {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    bool operator==(const Rect&) const = default;
};

}  // namespace platform
