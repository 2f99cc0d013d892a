#pragma once
// Labels, pictures and the controls that send actions. A user's tap, slide,
// flip or selection goes through the same user*() call whatever the frontend.

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Image.h"
#include "platform/ui/View.h"

namespace platform {

class Label : public Visitable<Label, View> {
public:
    const std::string& text() const { return text_; }
    void setText(std::string text);

private:
    std::string text_;
};

class ImageView : public Visitable<ImageView, View> {
public:
    const ImageRef& image() const { return image_; }
    void setImage(ImageRef image);

private:
    ImageRef image_;
};

// A view that sends actions to its targets.
class Control : public View {
public:
    using Action = std::function<void(Control* sender)>;
    void addTarget(Action action) { actions_.push_back(std::move(action)); }
    // The same, remembering the action's name ("playA440Hz:") for sendsAction.
    void addTarget(Action action, std::string selector) {
        selectors_.push_back(std::move(selector));
        addTarget(std::move(action));
    }
    void sendActions() {
        // Copied so an action may add targets without invalidating the loop.
        const auto actions = actions_;
        for (const auto& action : actions) action(this);
    }
    size_t targetCount() const { return actions_.size(); }
    bool sendsAction(std::string_view selector) const {
        return std::find(selectors_.begin(), selectors_.end(), selector) != selectors_.end();
    }

    // A disabled control is shown dimmed and takes no taps; the program's own
    // calls still work.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // The control that closes the panel it sits in or leaves the screen
    // (a Done, a Close, a back button): what the Escape key presses.
    bool closesScreen() const { return closesScreen_; }
    void setClosesScreen(bool closes) { closesScreen_ = closes; }

    // The keys that press the control where a keyboard is at hand: "1", or
    // "Escape" once no panel is open to close.
    const std::vector<std::string>& keyEquivalents() const { return keyEquivalents_; }
    void setKeyEquivalents(std::vector<std::string> keys) { keyEquivalents_ = std::move(keys); }

private:
    std::vector<Action> actions_;
    std::vector<std::string> selectors_;
    bool enabled_ = true;
    bool closesScreen_ = false;
    std::vector<std::string> keyEquivalents_;
};

// An action for a layout to connect by its selector, typed by the control that
// sends it: `handler` is a member of `owner` taking that kind of control, and a
// sender of any other kind changes nothing.
template <typename Owner, typename Kind>
Control::Action actionFor(Owner* owner, void (Owner::*handler)(Kind& sender)) {
    return [owner, handler](Control* sender) {
        if (auto* typed = dynamic_cast<Kind*>(sender)) (owner->*handler)(*typed);
    };
}

// The controls under `root` (root included) that send `selector`, in tree order.
std::vector<std::shared_ptr<Control>> controlsSending(const std::shared_ptr<View>& root, std::string_view selector);

enum class ControlState { Normal };

class Button : public Visitable<Button, Control> {
public:
    const ImageRef& imageForState(ControlState) const { return image_; }
    void setImage(ImageRef image, ControlState state = ControlState::Normal);
    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    // The user taps the button.
    void userTap() { sendActions(); }
    // A selected button stands out from the others of its row: the choice in force.
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

private:
    ImageRef image_;
    std::string title_;
    bool selected_ = false;
};

class Switch : public Visitable<Switch, Control> {
public:
    bool isOn() const { return on_; }
    void setOn(bool on, bool animated = false);
    // The user flips the switch to `on`.
    void userSetOn(bool on);

private:
    bool on_ = false;
};

class Slider : public Visitable<Slider, Control> {
public:
    float value() const { return value_; }
    // Clamped to the range, as a slider does.
    void setValue(float value, bool animated = false);
    float minimumValue() const { return minimum_; }
    float maximumValue() const { return maximum_; }
    void setRange(float minimum, float maximum);
    // The user lets go of the thumb at `value`. The frontend that reports it
    // shows it already, so no observer is told; the actions then decide what
    // the slider shows, and that change is the one observers hear of.
    void userSetValue(float value);

private:
    float value_ = 0.0f;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
};

}  // namespace platform
