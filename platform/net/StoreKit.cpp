#include "platform/net/StoreKit.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<uint64_t>& reviewRequests() {
    static std::atomic<uint64_t> count{0};
    return count;
}

}  // namespace

void StoreReviewController::requestReview() { reviewRequests().fetch_add(1, std::memory_order_relaxed); }

uint64_t StoreReviewController::requestCount() { return reviewRequests().load(std::memory_order_relaxed); }

void StoreProductViewController::userFinish() {
    if (const auto delegate = delegate_.lock()) delegate->productViewControllerDidFinish(*this);
}

}  // namespace platform
