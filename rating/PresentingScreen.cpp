#include "rating/PresentingScreen.h"

#include <memory>

#include "platform/ui/Application.h"

namespace rating {

platform::ViewController* presentingScreen() {
    const auto application = platform::Application::sharedApplication();
    std::shared_ptr<platform::Window> window = application->keyWindow();
    if (!window || window->windowLevel() != platform::Window::kLevelNormal) {
        window.reset();
        for (const auto& candidate : application->windows()) {
            if (candidate->windowLevel() == platform::Window::kLevelNormal) {
                window = candidate;
                break;
            }
        }
    }
    return window ? topMostScreenIn(*window) : nullptr;
}

platform::ViewController* topMostScreenIn(const platform::View& view) {
    for (const auto& subview : view.subviews()) {
        if (platform::ViewController* screen = subview->nextResponderViewController()) {
            return topMostScreenOver(screen);
        }
        if (platform::ViewController* found = topMostScreenIn(*subview)) return found;
    }
    return nullptr;
}

platform::ViewController* topMostScreenOver(platform::ViewController* controller) {
    while (controller && controller->presentedViewController()) {
        controller = controller->presentedViewController().get();
    }
    return controller;
}

}  // namespace rating
