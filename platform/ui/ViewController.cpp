#include "platform/ui/ViewController.h"

namespace platform {

ViewController::ViewController() : view_(std::make_shared<View>()) { view_->owner_ = this; }

ViewController::~ViewController() {
    if (presented_) presented_->presenting_ = nullptr;
    if (view_ && view_->owner_ == this) view_->owner_ = nullptr;
}

void ViewController::setView(std::shared_ptr<View> view) {
    if (view_ && view_->owner_ == this) view_->owner_ = nullptr;
    view_ = std::move(view);
    if (view_) view_->owner_ = this;
}

void ViewController::presentViewController(std::shared_ptr<ViewController> controller, bool,
                                           std::function<void()> completion) {
    if (!controller || presented_) return;
    presented_ = std::move(controller);
    presented_->presenting_ = this;
    presented_->viewWillAppear(false);
    view_->addSubview(presented_->view());
    presented_->view()->notify(Change::Presentation);
    if (completion) completion();
}

void ViewController::dismissViewController(bool animated, std::function<void()> completion) {
    if (!presented_) {
        if (presenting_) presenting_->dismissViewController(animated, std::move(completion));
        return;
    }
    auto dismissed = std::move(presented_);
    presented_.reset();
    dismissed->presenting_ = nullptr;
    dismissed->view()->removeFromSuperview();
    if (completion) completion();
}

}  // namespace platform
