#include "platform/ui/Application.h"

#include <algorithm>

#include "platform/core/Installed.h"

namespace platform {

void Window::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (root_) root_->view()->removeFromSuperview();
    root_ = std::move(controller);
    if (root_) {
        root_->view()->setFrame({0.0, 0.0, frame().width, frame().height});
        addSubview(root_->view());
    }
}

void Window::makeKeyAndVisible() {
    setHidden(false);
    Application::sharedApplication()->makeKeyWindow(std::static_pointer_cast<Window>(shared_from_this()));
}

void RecordingUrlOpener::open(const std::string& url) {
    std::lock_guard lock(mutex_);
    opened_.push_back(url);
}

std::vector<std::string> RecordingUrlOpener::opened() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

Application::Application() : urlOpener_(std::make_shared<RecordingUrlOpener>()) {}

std::shared_ptr<Application> Application::sharedApplication() {
    // A reset makes a new one: no windows, the recording opener, nobody told of the idle timer.
    static Installed<std::shared_ptr<Application>> application(
        [] { return std::shared_ptr<Application>(new Application()); });
    return application.get();
}

void Application::makeKeyWindow(std::shared_ptr<Window> window) {
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end()) windows_.push_back(window);
    keyWindow_ = std::move(window);
    keyWindow_->setHidden(false);
}

void Application::removeAllWindows() {
    windows_.clear();
    keyWindow_.reset();
    noWindowExplanation_.clear();
}

void Application::setIdleTimerDisabled(bool disabled) {
    idleTimerDisabled_ = disabled;
    if (idleObserver_) idleObserver_(disabled);
}

void Application::openURL(const std::string& url) {
    if (urlOpener_) urlOpener_->open(url);
}

}  // namespace platform
