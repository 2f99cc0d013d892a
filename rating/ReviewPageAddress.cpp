#include "rating/ReviewPageAddress.h"

#include <string_view>

namespace rating {
namespace {

// Where the application's identifier in the review store goes in the templates.
constexpr std::string_view kAppIdPlaceholder = "APP_ID";

constexpr std::string_view kTemplateBelow7 =
    "itms-apps://itunes.apple.com/WebObjects/MZStore.woa/wa/viewContentsUserReviews"
    "?type=Purple+Software&id=APP_ID";
constexpr std::string_view kTemplate7 = "itms-apps://apps.apple.com/app/idAPP_ID";
constexpr std::string_view kTemplateFrom8 =
    "itms-apps://apps.apple.com/WebObjects/MZStore.woa/wa/viewContentsUserReviews"
    "?id=APP_ID&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&type=Purple+Software";

}  // namespace

std::string reviewPageAddress(const std::string& appId, double systemVersion) {
    std::string_view chosen = kTemplateBelow7;
    if (systemVersion >= 7.0 && systemVersion < 8.0) chosen = kTemplate7;
    if (systemVersion >= 8.0) chosen = kTemplateFrom8;
    std::string address(chosen);
    address.replace(address.find(kAppIdPlaceholder), kAppIdPlaceholder.size(), appId);
    return address;
}

}  // namespace rating
