#pragma once
// What the running platform offers of its optional store and alert services.
// System code asks before it uses one of them, as a phone program asks whether
// a class exists. The desktop offers the modern alert only; tests switch each
// service on and off.

namespace platform {

struct PlatformCapabilities {
    bool storeReviewRequest = false;  // the platform's own review request (StoreReviewController)
    bool alertController = true;      // the modern alert (AlertController)
    bool storeProductSheet = false;   // the store's in-app product sheet (StoreProductViewController)
};

// Any thread.
PlatformCapabilities capabilities();
void setCapabilities(const PlatformCapabilities& offered);

}  // namespace platform
