#include "rating/ReviewRoute.h"

#include <utility>

#include "platform/core/Device.h"
#include "platform/ui/Application.h"
#include "platform/ui/Capabilities.h"
#include "rating/PresentingScreen.h"
#include "rating/ReviewPageAddress.h"
#include "rating/TextValues.h"

namespace rating {
namespace {

// From 7.0 on the review store's page is the better way to rate.
constexpr double kReviewPageFromVersion = 7.0;

double systemVersion() { return leadingDouble(platform::Device::systemVersion()); }

}  // namespace

ReviewRoute::ReviewRoute(PromptSettings& settings, SheetEvents events)
    : settings_(settings), events_(std::move(events)), openInAppStore_(systemVersion() >= kReviewPageFromVersion) {}

void ReviewRoute::open(const std::weak_ptr<platform::StoreProductViewControllerDelegate>& sheetDelegate) {
    const platform::PlatformCapabilities offered = platform::capabilities();
    if (offered.storeReviewRequest) {
        platform::StoreReviewController::requestReview();
        return;
    }
    if (!openInAppStore() && offered.storeProductSheet) {
        presentProductSheet(sheetDelegate);
        return;
    }
    platform::Application::sharedApplication()->openURL(reviewPageAddress(settings_.appId(), systemVersion()));
}

void ReviewRoute::presentProductSheet(
    const std::weak_ptr<platform::StoreProductViewControllerDelegate>& sheetDelegate) {
    auto sheet = std::make_shared<platform::StoreProductViewController>();
    // An identifier that is not a number asks for product 0.
    sheet->loadProductWithParameters(
        {{platform::kStoreProductParameterITunesItemIdentifier, leadingInteger(settings_.appId())}});
    sheet->setDelegate(sheetDelegate);
    const bool animated = settings_.usesAnimation;
    if (events_.willPresent) events_.willPresent(animated);
    if (platform::ViewController* screen = presentingScreen()) {
        screen->presentViewController(sheet, animated, [&settings = settings_] { settings.modalOpen = true; });
    }
}

void ReviewRoute::closeProductSheet() {
    if (!settings_.modalOpen) return;
    const bool animated = settings_.usesAnimation;
    settings_.modalOpen = false;
    const auto window = platform::Application::sharedApplication()->keyWindow();
    platform::ViewController* top = window ? topMostScreenOver(window->rootViewController().get()) : nullptr;
    if (!top) return;
    top->dismissViewController(animated, [didDismiss = events_.didDismiss, animated] {
        if (didDismiss) didDismiss(animated);
    });
}

}  // namespace rating
