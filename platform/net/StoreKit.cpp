#include "platform/net/StoreKit.h"

#include "platform/core/Installed.h"

namespace platform {
namespace {

// Back to none with the installed services.
Installed<uint64_t>& reviewRequests() {
    static Installed<uint64_t> count;
    return count;
}

}  // namespace

void StoreReviewController::requestReview() {
    reviewRequests().with([](uint64_t& count) { ++count; });
}

uint64_t StoreReviewController::requestCount() { return reviewRequests().get(); }

void StoreProductViewController::userFinish() {
    if (const auto delegate = delegate_.lock()) delegate->productViewControllerDidFinish(*this);
}

}  // namespace platform
