#include "platform/ui/View.h"

#include <algorithm>

#include "platform/core/Installed.h"

namespace platform {
namespace {

Installed<UiObserver*>& observerSlot() {
    static Installed<UiObserver*> observer;
    return observer;
}

}  // namespace

UiObserver* setUiObserver(UiObserver* observer) { return observerSlot().installOrDefault(observer); }

void View::notify(Change change) {
    if (UiObserver* observer = observerSlot().get()) observer->viewDidChange(*this, change);
}

void View::setHidden(bool hidden) {
    if (hidden_ == hidden) return;
    hidden_ = hidden;
    notify(Change::Hidden);
}

void View::setFrame(const Rect& frame) {
    if (frame_ == frame) return;
    frame_ = frame;
    notify(Change::Frame);
}

void View::setAccessibilityLabel(const std::string& label) {
    if (accessibilityLabel_ == label) return;
    accessibilityLabel_ = label;
    notify(Change::Accessibility);
}

void View::setAccessibilityValue(const std::string& value) {
    if (accessibilityValue_ == value) return;
    accessibilityValue_ = value;
    notify(Change::Accessibility);
}

void View::addSubview(std::shared_ptr<View> view) {
    if (!view || view.get() == this) return;
    view->removeFromSuperview();
    view->superview_ = this;
    subviews_.push_back(std::move(view));
    notify(Change::Subviews);
}

void View::removeFromSuperview() {
    View* parent = superview_;
    if (!parent) return;
    superview_ = nullptr;
    auto& siblings = parent->subviews_;
    // Keep this view alive until it has left its parent's list.
    auto self = shared_from_this();
    siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    parent->notify(Change::Subviews);
}

}  // namespace platform
