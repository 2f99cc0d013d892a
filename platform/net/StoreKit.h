#pragma once
// The store's services as a program sees them: the platform's own review
// request and the in-app product sheet. The desktop has neither (see
// Capabilities.h); here they record what they were asked, so the routes that
// use them run and can be checked.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/ui/ViewController.h"

namespace platform {

class StoreReviewController {
public:
    // Any thread. Asks the platform to offer a review; the platform decides
    // whether and what to show. Here it is counted.
    static void requestReview();
    // How many review requests this process has made (since the installed
    // services were last reset).
    static uint64_t requestCount();
};

// The product-parameter key for the store identifier of the product to show.
inline constexpr const char* kStoreProductParameterITunesItemIdentifier = "id";

class StoreProductViewController;

class StoreProductViewControllerDelegate {
public:
    virtual ~StoreProductViewControllerDelegate() = default;
    // The user closed the sheet; the delegate dismisses it.
    virtual void productViewControllerDidFinish(StoreProductViewController& controller) = 0;
};

// The store's page of one product, presented over a screen.
class StoreProductViewController : public ViewController {
public:
    using Parameters = std::map<std::string, int64_t>;

    // Asks the store for the product named by `parameters`; here they are kept.
    void loadProductWithParameters(Parameters parameters) { parameters_ = std::move(parameters); }
    const Parameters& loadedParameters() const { return parameters_; }

    // The delegate is not owned.
    void setDelegate(std::weak_ptr<StoreProductViewControllerDelegate> delegate) { delegate_ = std::move(delegate); }
    // The user closes the sheet: its delegate is told.
    void userFinish();

private:
    Parameters parameters_;
    std::weak_ptr<StoreProductViewControllerDelegate> delegate_;
};

}  // namespace platform
