#pragma once
// Alerts in the user-interface element model.
//
// AlertController is the modern alert: a screen with a title, a message and
// actions, presented over another screen, and visible while its view sits
// inside another view. AlertView is the legacy alert: a view with indexed
// buttons (the cancel button, when it has one, is index 0) that shows itself
// over the key window and reports the index it was dismissed with to its
// delegate.
//
// Both draw themselves as labels and buttons, so any frontend that renders
// the element model renders them. Main thread only, like every view, except
// AlertView::isVisible, which any thread may ask.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/ViewController.h"

namespace platform {

enum class AlertActionStyle { Default = 0, Cancel = 1, Destructive = 2 };
enum class AlertControllerStyle { ActionSheet = 0, Alert = 1 };

class AlertAction {
public:
    using Handler = std::function<void(const AlertAction& action)>;
    AlertAction(std::string title, AlertActionStyle style, Handler handler)
        : title_(std::move(title)), style_(style), handler_(std::move(handler)) {}

    const std::string& title() const { return title_; }
    AlertActionStyle style() const { return style_; }
    const Handler& handler() const { return handler_; }

private:
    std::string title_;
    AlertActionStyle style_;
    Handler handler_;
};

class AlertController : public ViewController {
public:
    AlertController(std::string title, std::string message, AlertControllerStyle preferredStyle);

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }
    AlertControllerStyle preferredStyle() const { return style_; }

    void addAction(AlertAction action);
    const std::vector<AlertAction>& actions() const { return actions_; }

    // Shown while its view is inside another one, that is while presented.
    bool isVisible() const { return view()->superview() != nullptr; }

    // The user taps the action at `index`: the alert goes away, then the
    // action's handler runs. False, and nothing happens, when the alert is not
    // shown or has no such action.
    bool userTapAction(size_t index);

private:
    void layOut();

    std::string title_;
    std::string message_;
    AlertControllerStyle style_;
    std::vector<AlertAction> actions_;
};

class AlertView;

class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void alertViewDidDismissWithButtonIndex(AlertView& alertView, int64_t buttonIndex) = 0;
};

class AlertView : public View {
public:
    // With an empty cancel title the alert has no cancel button and the other
    // buttons start at index 0. The delegate is not owned.
    AlertView(std::string title, std::string message, std::weak_ptr<AlertViewDelegate> delegate,
              std::string cancelButtonTitle, std::vector<std::string> otherButtonTitles = {});

    const std::string& title() const { return title_; }
    const std::string& message() const { return message_; }

    // Appends a button; answers its index.
    int64_t addButtonWithTitle(std::string title);
    int64_t numberOfButtons() const { return static_cast<int64_t>(buttonTitles_.size()); }
    // The title of the button at `index`; empty when there is none.
    std::string buttonTitleAtIndex(int64_t index) const;
    // 0 when the alert has a cancel button, else -1.
    int64_t cancelButtonIndex() const { return hasCancelButton_ ? 0 : -1; }

    // Shows the alert over the key window (when there is one) until dismissed.
    void show();
    // Any thread.
    bool isVisible() const { return visible_.load(std::memory_order_relaxed); }
    // Hides the alert and reports `index` to the delegate, whatever the index.
    void dismissWithClickedButtonIndex(int64_t index, bool animated);
    // The user taps the button at `index`; false, and nothing happens, when the
    // alert is not shown or has no such button.
    bool userTapButtonAtIndex(int64_t index);

private:
    std::string title_;
    std::string message_;
    std::weak_ptr<AlertViewDelegate> delegate_;
    bool hasCancelButton_;
    std::vector<std::string> buttonTitles_;
    std::atomic<bool> visible_{false};
};

}  // namespace platform
