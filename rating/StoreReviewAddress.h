#pragma once
// The store's page for reviews of an application. The platform's store
// changed its addresses twice, so the page depends on the system version.

#include <string>

namespace rating {

// The review page of the application `appId` on a system of version
// `systemVersion`: one template below 7.0, one from 7.0 to below 8.0, one
// from 8.0 on.
std::string storeReviewAddress(const std::string& appId, double systemVersion);

}  // namespace rating
