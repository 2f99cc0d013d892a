#pragma once
// Watches one element as a frontend does: told of each change to it, and of
// nothing else, while it lives.

#include <functional>
#include <utility>

#include "platform/ui/View.h"

namespace testing_support {

class ViewWatcher final : public platform::UiObserver {
public:
    ViewWatcher(const platform::View& watched, std::function<void(platform::Change)> told)
        : watched_(watched), told_(std::move(told)), previous_(platform::setUiObserver(this)) {}
    ~ViewWatcher() override { platform::setUiObserver(previous_); }
    ViewWatcher(const ViewWatcher&) = delete;
    ViewWatcher& operator=(const ViewWatcher&) = delete;

    void viewDidChange(platform::View& view, platform::Change change) override {
        if (&view == &watched_) told_(change);
    }

private:
    const platform::View& watched_;
    std::function<void(platform::Change)> told_;
    platform::UiObserver* previous_;
};

}  // namespace testing_support
