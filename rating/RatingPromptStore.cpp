// Rating: the platform's review request, the store's product sheet or the
// store's review page; and the search for the screen to present on.

#include "platform/ui/Application.h"
#include "platform/ui/Capabilities.h"
#include "platform/core/Device.h"
#include "platform/store/UserDefaults.h"
#include "rating/RatingPrompt.h"
#include "rating/StoreReviewAddress.h"
#include "rating/TextValues.h"

namespace rating {

void RatingPrompt::rateApp() {
    auto& defaults = platform::UserDefaults::standardUserDefaults();
    defaults.setBool(true, kRatingPromptRatedCurrentVersion);
    defaults.synchronize();

    const platform::PlatformCapabilities offered = platform::capabilities();
    if (offered.storeReviewRequest) {
        platform::StoreReviewController::requestReview();
        return;
    }
    RatingPrompt& shared = sharedInstance();
    if (!shared.openInAppStore() && offered.storeProductSheet) {
        shared.presentProductSheet();
        return;
    }
    platform::Application::sharedApplication().openURL(
        storeReviewAddress(appId(), leadingDouble(platform::Device::systemVersion())));
}

void RatingPrompt::presentProductSheet() {
    auto sheet = std::make_shared<platform::StoreProductViewController>();
    // An identifier that is not a number asks for product 0.
    sheet->loadProductWithParameters({{platform::kStoreProductParameterITunesItemIdentifier, leadingInteger(appId())}});
    sheet->setDelegate(weak_from_this());
    const bool animated = usesAnimation();
    tellDelegate(&RatingPromptDelegate::ratingPromptWillPresentModalView, *this, animated);
    if (platform::ViewController* screen = getRootViewController()) {
        screen->presentViewController(sheet, animated, [] { setModalOpen(true); });
    }
}

void RatingPrompt::productViewControllerDidFinish(platform::StoreProductViewController&) { closeModal(); }

void RatingPrompt::closeModal() {
    if (!modalOpen()) return;
    const bool animated = usesAnimation();
    setModalOpen(false);
    const auto& window = platform::Application::sharedApplication().keyWindow();
    platform::ViewController* top = window ? topMostViewController(window->rootViewController().get()) : nullptr;
    if (!top) return;
    top->dismissViewController(animated, [animated] {
        sharedInstance().tellDelegate(&RatingPromptDelegate::ratingPromptDidDismissModalView, animated);
    });
}

platform::ViewController* RatingPrompt::getRootViewController() {
    const auto& application = platform::Application::sharedApplication();
    std::shared_ptr<platform::Window> window = application.keyWindow();
    if (!window || window->windowLevel() != platform::Window::kLevelNormal) {
        window.reset();
        for (const auto& candidate : application.windows()) {
            if (candidate->windowLevel() == platform::Window::kLevelNormal) {
                window = candidate;
                break;
            }
        }
    }
    return window ? iterateSubViewsForViewController(*window) : nullptr;
}

platform::ViewController* RatingPrompt::iterateSubViewsForViewController(const platform::View& view) {
    for (const auto& subview : view.subviews()) {
        if (platform::ViewController* screen = subview->nextResponderViewController()) {
            return topMostViewController(screen);
        }
        if (platform::ViewController* found = iterateSubViewsForViewController(*subview)) return found;
    }
    return nullptr;
}

platform::ViewController* RatingPrompt::topMostViewController(platform::ViewController* controller) {
    while (controller && controller->presentedViewController()) controller = controller->presentedViewController().get();
    return controller;
}

}  // namespace rating
