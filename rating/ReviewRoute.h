#pragma once
// The rating prompt's route to the review store, where the user writes the
// review: the platform's own review request where it offers one; else the
// review store's product sheet, presented over the screen, when the prompt
// is not set to open the review store and the platform offers the sheet;
// else the review store's page, opened by address (ReviewPageAddress.h).
// Main thread, apart from the route choice, which any thread may read or set.

#include <atomic>
#include <functional>
#include <memory>

#include "platform/net/StoreKit.h"
#include "rating/PromptSettings.h"

namespace rating {

class ReviewRoute {
public:
    // What the owner hears of the product sheet; each is optional.
    struct SheetEvents {
        // Before the sheet is presented, with the animation flag.
        std::function<void(bool animated)> willPresent;
        // Once the sheet has been dismissed, with the animation flag noted when
        // it was closed; this may come after the route itself has gone.
        std::function<void(bool animated)> didDismiss;
    };

    // The settings (identifier, animation, modal-open) must outlive the route
    // and every sheet it presents.
    // The route opens the review store by address from system version 7.0 on,
    // where that is the better way to rate.
    ReviewRoute(PromptSettings& settings, SheetEvents events);

    // Open the review store (true) or use its product sheet where offered (false).
    bool openInAppStore() const { return openInAppStore_.load(std::memory_order_relaxed); }
    void setOpenInAppStore(bool openInAppStore) { openInAppStore_.store(openInAppStore, std::memory_order_relaxed); }

    // Sends the user to the review store by the first route offered.
    // `sheetDelegate` hears the product sheet finish; it is not owned.
    void open(const std::weak_ptr<platform::StoreProductViewControllerDelegate>& sheetDelegate);
    // Dismisses the product sheet (the top-most screen over the key window's
    // root) when it is open; does nothing otherwise.
    void closeProductSheet();

private:
    void presentProductSheet(const std::weak_ptr<platform::StoreProductViewControllerDelegate>& sheetDelegate);

    PromptSettings& settings_;
    SheetEvents events_;
    std::atomic<bool> openInAppStore_;
};

}  // namespace rating
