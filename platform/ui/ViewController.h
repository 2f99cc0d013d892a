#pragma once
// A screen: it owns a root view, may present another screen over itself, and
// declares by name the outlets and actions a layout document connects to it.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/View.h"

namespace platform {

// Binds a layout element to an outlet; false when the element has the wrong kind.
using OutletBinder = std::function<bool(const std::shared_ptr<View>&)>;

template <typename T>
OutletBinder outlet(std::shared_ptr<T>& slot) {
    return [&slot](const std::shared_ptr<View>& view) {
        auto typed = std::dynamic_pointer_cast<T>(view);
        if (!typed) return false;
        slot = std::move(typed);
        return true;
    };
}

class ViewController {
public:
    ViewController();
    virtual ~ViewController();
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    const std::shared_ptr<View>& view() const { return view_; }
    void setView(std::shared_ptr<View> view);

    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    // The screens' interface names it; a desktop sends no memory warnings, so nothing calls it.
    virtual void didReceiveMemoryWarning() {}

    // The outlets and actions a layout may connect, by their names.
    virtual std::map<std::string, OutletBinder> outlets() { return {}; }
    virtual std::map<std::string, Control::Action> actions() { return {}; }

    // Shows `controller` over this screen; its view joins this screen's view.
    void presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                               std::function<void()> completion = {});
    // Dismisses the screen this one presents (or this one, when it is presented).
    void dismissViewController(bool animated, std::function<void()> completion = {});
    const std::shared_ptr<ViewController>& presentedViewController() const { return presented_; }
    ViewController* presentingViewController() const { return presenting_; }

private:
    std::shared_ptr<View> view_;
    std::shared_ptr<ViewController> presented_;
    ViewController* presenting_ = nullptr;
};

}  // namespace platform
