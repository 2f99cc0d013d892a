#include "platform/ui/Controls.h"

#include <algorithm>

namespace platform {

void Label::setText(std::string text) {
    if (text_ == text) return;
    text_ = std::move(text);
    notify(Change::Text);
}

void ImageView::setImage(ImageRef image) {
    if (image_ == image) return;
    image_ = std::move(image);
    notify(Change::Image);
}

void Control::setEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    notify(Change::Enabled);
}

std::vector<std::shared_ptr<Control>> controlsSending(const std::shared_ptr<View>& root, std::string_view selector) {
    std::vector<std::shared_ptr<Control>> found;
    if (!root) return found;
    if (auto control = std::dynamic_pointer_cast<Control>(root); control && control->sendsAction(selector)) {
        found.push_back(std::move(control));
    }
    for (const auto& child : root->subviews()) {
        auto below = controlsSending(child, selector);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

void Button::setImage(ImageRef image, ControlState) {
    if (image_ == image) return;
    image_ = std::move(image);
    notify(Change::Image);
}

void Button::setTitle(std::string title) {
    if (title_ == title) return;
    title_ = std::move(title);
    notify(Change::Text);
}

void Button::setSelected(bool selected) {
    if (selected_ == selected) return;
    selected_ = selected;
    notify(Change::Selection);
}

void Switch::setOn(bool on, bool) {
    if (on_ == on) return;
    on_ = on;
    notify(Change::On);
}

void Switch::userSetOn(bool on) {
    setOn(on);
    sendActions();
}

void Slider::setValue(float value, bool) {
    const float clamped = std::clamp(value, minimum_, maximum_);
    if (clamped == value_) return;
    value_ = clamped;
    notify(Change::Value);
}

void Slider::setRange(float minimum, float maximum) {
    minimum_ = std::min(minimum, maximum);
    maximum_ = std::max(minimum, maximum);
    setValue(value_);
}

void Slider::userSetValue(float value) {
    value_ = std::clamp(value, minimum_, maximum_);
    sendActions();
}

}  // namespace platform
