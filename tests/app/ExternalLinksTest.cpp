#include <gtest/gtest.h>

#include <set>

#include "app/ExternalLinks.h"
#include "tests/support/PlainPlatform.h"

namespace {

class ExternalLinksTest : public testing_support::PlainPlatformTest {};

TEST_F(ExternalLinksTest, EachActionOpensItsOwnAddress) {
    auto actions = app::externalLinkActions();
    ASSERT_EQ(actions.size(), 14u);
    std::vector<std::string> expected;
    for (const auto& link : app::externalLinks()) {
        actions.at(link.action)(nullptr);
        expected.push_back(link.address);
    }
    EXPECT_EQ(urls->opened(), expected);
    EXPECT_EQ(std::set<std::string>(expected.begin(), expected.end()).size(), expected.size());
}

TEST_F(ExternalLinksTest, TheReviewLinkIsThisAppsWriteAReviewPageAndTouchesNoSetting) {
    app::externalLinkActions().at("reviewPallqaTuner:")(nullptr);
    EXPECT_EQ(urls->opened(),
              std::vector<std::string>{std::string("itms-apps://apps.apple.com/app/id") + app::kAppStoreId +
                                       "?action=write-review"});
    EXPECT_TRUE(defaults->dictionaryRepresentation().empty());
}

TEST_F(ExternalLinksTest, TheMakersSiteIsAWebAddress) {
    app::externalLinkActions().at("redirectToTarveloLabs:")(nullptr);
    ASSERT_EQ(urls->opened().size(), 1u);
    EXPECT_EQ(urls->opened()[0].rfind("https://", 0), 0u);
}

}  // namespace
