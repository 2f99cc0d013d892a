#include "platform/ui/qt/SceneFrames.h"

#include <algorithm>
#include <set>

#include "platform/ui/LayoutLoader.h"

namespace platform::ui::qt {
namespace {

double bottomOf(const Rect& frame) { return frame.y + frame.height; }

bool sharesAColumn(const Rect& a, const Rect& b) { return a.x < b.x + b.width && b.x < a.x + a.width; }

bool givesRoomBack(const View& view) {
    const ElementStyle* style = layoutStyleOf(view);
    return style && style->collapses && view.isHidden();
}

void collectParents(const View& view, std::set<const View*>& parents) {
    for (const auto& child : view.subviews()) {
        if (givesRoomBack(*child)) parents.insert(&view);
        collectParents(*child, parents);
    }
}

}  // namespace

SceneFrames::SceneFrames(const View& root) {
    std::set<const View*> parents;
    collectParents(root, parents);
    for (const View* parent : parents) closeUp(*parent);
    contentBottom_ = root.frame().height;
    for (const auto& child : root.subviews()) contentBottom_ = std::max(contentBottom_, bottomOf(frameOf(*child)));
}

Rect SceneFrames::frameOf(const View& view) const {
    const auto found = moved_.find(&view);
    return found == moved_.end() ? view.frame() : found->second;
}

void SceneFrames::closeUp(const View& parent) {
    double allBottom = 0.0;
    double keptBottom = 0.0;
    for (const auto& child : parent.subviews()) {
        allBottom = std::max(allBottom, bottomOf(child->frame()));
        if (!givesRoomBack(*child)) keptBottom = std::max(keptBottom, bottomOf(child->frame()));
    }
    // The margin under the last element stays as the layout drew it.
    const Rect before = frameOf(parent);
    const double cut = allBottom - keptBottom;
    if (cut <= 0.0) return;
    Rect closed = before;
    closed.height -= cut;
    moved_[&parent] = closed;
    const View* grandparent = parent.superview();
    if (!grandparent) return;
    for (const auto& sibling : grandparent->subviews()) {
        if (sibling.get() == &parent) continue;
        Rect frame = frameOf(*sibling);
        if (frame.y >= bottomOf(before) && sharesAColumn(frame, before)) {
            frame.y -= cut;
            moved_[sibling.get()] = frame;
        }
    }
}

}  // namespace platform::ui::qt
