#pragma once
// Where things are on the screen, in points: the phone platform's CGRect.

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
