// Rating: the platform's review request, the product sheet or the store's
// review page, chosen by what the platform offers and its system version.

#include "platform/net/StoreKit.h"
#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingPrompt;

const std::string kReviewsBelow7 =
    "itms-apps://itunes.apple.com/WebObjects/MZStore.woa/wa/viewContentsUserReviews"
    "?type=Purple+Software&id=1447470931";
const std::string kReviews7 = "itms-apps://apps.apple.com/app/id1447470931";
const std::string kReviewsFrom8 =
    "itms-apps://apps.apple.com/WebObjects/MZStore.woa/wa/viewContentsUserReviews"
    "?id=1447470931&onlyLatestVersion=true&pageNumber=0&sortOrdering=1&type=Purple+Software";

enum class Route { ReviewRequest, ProductSheet, Address };

struct RouteCase {
    const char* name;
    bool reviewOffered;
    bool sheetOffered;
    bool openInAppStore;
    const char* systemVersion;
    Route route;
    std::string address;  // for Route::Address
};

// Names the case in test listings.
void PrintTo(const RouteCase& c, std::ostream* out) { *out << c.name; }

class RateAppTest : public RatingPromptTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(RateAppTest, MarksTheVersionRatedAndTakesTheRouteOffered) {
    const RouteCase& c = GetParam();
    offer(c.reviewOffered, true, c.sheetOffered);
    setSystemVersion(c.systemVersion);
    configureAsLaunch();
    RatingPrompt::setOpenInAppStore(c.openInAppStore);
    const uint64_t reviewsBefore = platform::StoreReviewController::requestCount();

    RatingPrompt::rateApp();

    EXPECT_TRUE(ratingPrompt().userHasRatedCurrentVersion());
    EXPECT_EQ(platform::StoreReviewController::requestCount() - reviewsBefore, c.route == Route::ReviewRequest ? 1u : 0u);
    const auto sheet = std::dynamic_pointer_cast<platform::StoreProductViewController>(screen->presentedViewController());
    EXPECT_EQ(sheet != nullptr, c.route == Route::ProductSheet);
    EXPECT_EQ(urls->opened(), c.route == Route::Address ? std::vector<std::string>{c.address} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Routes, RateAppTest,
    ::testing::Values(RouteCase{"ReviewRequestWhenOffered", true, true, false, "17.0", Route::ReviewRequest, ""},
                      RouteCase{"ProductSheetWhenNotOpeningTheStore", false, true, false, "17.0", Route::ProductSheet, ""},
                      RouteCase{"AddressWhenOpeningTheStore", false, true, true, "17.0", Route::Address, kReviewsFrom8},
                      RouteCase{"AddressWithoutAProductSheet", false, false, false, "17.0", Route::Address, kReviewsFrom8},
                      RouteCase{"Version8", false, false, true, "8.0", Route::Address, kReviewsFrom8},
                      RouteCase{"Version7", false, false, true, "7.0", Route::Address, kReviews7},
                      RouteCase{"Version7Point1Point2", false, false, true, "7.1.2", Route::Address, kReviews7},
                      RouteCase{"Version6", false, false, true, "6.1", Route::Address, kReviewsBelow7},
                      RouteCase{"NoVersion", false, false, true, "", Route::Address, kReviewsBelow7}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(RatingPromptTest, WithTheReviewRequestOfferedThePromptIsTheRequestAndComesOnce) {
    offer(true, true, true);
    RecordingDelegate recorder;
    RatingPrompt::setDelegate(recorder.delegate);
    const uint64_t reviewsBefore = platform::StoreReviewController::requestCount();

    RatingPrompt::tryToShowPrompt();
    RatingPrompt::tryToShowPrompt();

    EXPECT_EQ(platform::StoreReviewController::requestCount() - reviewsBefore, 1u);
    EXPECT_TRUE(ratingPrompt().userHasRatedCurrentVersion());
    EXPECT_TRUE(shownAlertTitles().empty());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(ratingPrompt().ratingAlert()));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"shouldDisplayAlert", "didDisplayAlert"}));
}

TEST_F(RatingPromptTest, TheProductSheetOpensAndClosesThroughItsDelegate) {
    offer(false, true, true);
    configureAsLaunch();
    RatingPrompt::setOpenInAppStore(false);
    RatingPrompt::setUsesAnimation(false);
    RecordingDelegate recorder;
    RatingPrompt::setDelegate(recorder.delegate);
    RatingPrompt::forceShowPrompt(true);
    tap("Rate Pallqa Tuner");

    const auto sheet = std::dynamic_pointer_cast<platform::StoreProductViewController>(screen->presentedViewController());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->loadedParameters(),
              (platform::StoreProductViewController::Parameters{
                  {platform::kStoreProductParameterITunesItemIdentifier, 1447470931}}));
    EXPECT_TRUE(RatingPrompt::modalOpen());

    sheet->userFinish();

    EXPECT_EQ(screen->presentedViewController(), nullptr);
    EXPECT_FALSE(RatingPrompt::modalOpen());
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"shouldDisplayAlert", "didDisplayAlert",
                                                        "willPresentModalView animated=no", "didOptToRate",
                                                        "didDismissModalView animated=no"}));
}

TEST_F(RatingPromptTest, CloseModalDoesNothingWhileNoSheetIsOpen) {
    auto other = std::make_shared<platform::ViewController>();
    screen->presentViewController(other, false);
    RatingPrompt::closeModal();

    EXPECT_EQ(screen->presentedViewController(), other);
}

TEST_F(RatingPromptTest, WithoutAStoreIdentifierTheSheetAsksForProductZero) {
    offer(false, true, true);
    RatingPrompt::setOpenInAppStore(false);
    RatingPrompt::rateApp();

    const auto sheet = std::dynamic_pointer_cast<platform::StoreProductViewController>(screen->presentedViewController());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->loadedParameters().at(platform::kStoreProductParameterITunesItemIdentifier), 0);
}

class OpenInAppStoreTest : public RatingPromptTest,
                           public ::testing::WithParamInterface<std::tuple<const char*, bool>> {};

TEST_P(OpenInAppStoreTest, StartsFromTheSystemVersion) {
    setSystemVersion(std::get<0>(GetParam()));
    EXPECT_EQ(ratingPrompt().openInAppStore(), std::get<1>(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Versions, OpenInAppStoreTest,
                         ::testing::Values(std::make_tuple("6.1.3", false), std::make_tuple("7.0", true),
                                           std::make_tuple("17.2", true), std::make_tuple("", false)));

}  // namespace
}  // namespace rating_test
