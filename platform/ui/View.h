#pragma once
// The user-interface element model: plain C++ views that the system's screens
// drive, and that a frontend (a window, a console) observes and renders. The
// system's code never knows which frontend, if any, is watching.
//
// Views are used on the main thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"
#include "platform/ui/ElementVisitor.h"

namespace platform {

class View;
class ViewController;

// What changed on a view, for observers.
enum class Change {
    Hidden, Frame, Text, Image, On, Value, Selection, Subviews, Presentation, Visibility,
    Accessibility, Enabled
};

// Told of every change to any view; installed by a frontend.
class UiObserver {
public:
    virtual ~UiObserver() = default;
    virtual void viewDidChange(View& view, Change change) = 0;
};

// Installs the observer (none when null); returns the previous one.
UiObserver* setUiObserver(UiObserver* observer);

class View : public std::enable_shared_from_this<View> {
public:
    View() = default;
    virtual ~View() = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    // The element's name in its layout (its outlet name when it has one); used by
    // frontends to report changes.
    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    const Rect& frame() const { return frame_; }
    void setFrame(const Rect& frame);
    int64_t tag() const { return tag_; }
    void setTag(int64_t tag) { tag_ = tag; }

    // What a screen reader says for the element: a short name ("Lamp") and,
    // where the element has a state, that state ("in tune"). An empty name
    // leaves it to the frontend (a label's text, a button's title). Setting
    // what is already there copies nothing, so a tick may repeat it freely.
    const std::string& accessibilityLabel() const { return accessibilityLabel_; }
    void setAccessibilityLabel(const std::string& label);
    const std::string& accessibilityValue() const { return accessibilityValue_; }
    void setAccessibilityValue(const std::string& value);

    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    void addSubview(std::shared_ptr<View> view);
    void removeFromSuperview();
    View* superview() const { return superview_; }

    // The next responder when it is a screen: the controller whose root view
    // this is; none for any other view.
    ViewController* nextResponderViewController() const { return owner_; }

    // Calls the visitor's visit for the element's kind; a plain view visits as a box.
    virtual void accept(ElementVisitor& visitor) { visitor.visit(*this); }
    virtual void accept(ConstElementVisitor& visitor) const { visitor.visit(*this); }

protected:
    void notify(Change change);

private:
    friend class ViewController;
    std::string name_;
    bool hidden_ = false;
    Rect frame_;
    int64_t tag_ = 0;
    std::string accessibilityLabel_;
    std::string accessibilityValue_;
    std::vector<std::shared_ptr<View>> subviews_;
    View* superview_ = nullptr;
    ViewController* owner_ = nullptr;
};

}  // namespace platform
