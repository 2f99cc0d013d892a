#pragma once
// The review store's page of reviews of an application: the address the
// prompt opens when it sends the user there by address. The review store
// changed its addresses twice, so the page depends on the system version.

#include <string>

namespace rating {

// The review page of the application `appId` on a system of version
// `systemVersion`: one template below 7.0, one from 7.0 to below 8.0, one
// from 8.0 on.
std::string reviewPageAddress(const std::string& appId, double systemVersion);

}  // namespace rating
