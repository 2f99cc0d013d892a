#pragma once
// Where each element of a scene stands once every hidden element whose layout
// lets it collapse has given its room back: its parent closes up over it, and
// what stands below the parent in the same column moves up by as much. Plain
// geometry in points; private to platform_ui_qt.

#include <map>

#include "platform/ui/View.h"

namespace platform::ui::qt {

class SceneFrames {
public:
    explicit SceneFrames(const View& root);

    // The element's frame, relative to its parent as ever.
    Rect frameOf(const View& view) const;
    // The lowest edge of the root's elements, at least the root's own height.
    double contentBottom() const { return contentBottom_; }

private:
    void closeUp(const View& parent);

    std::map<const View*, Rect> moved_;
    double contentBottom_ = 0.0;
};

}  // namespace platform::ui::qt
