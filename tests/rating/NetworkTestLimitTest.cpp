// The network test's request: what it asks for, and that asking for the prompt
// on every tick starts no more than one at a time, once a minute at most.

#include <cstdlib>

#include "tests/rating/RatingPromptFixture.h"

namespace rating_test {
namespace {

using rating::RatingPrompt;

TEST_F(RatingPromptTest, TheNetworkTestIsAFreshGetOfTheBundlesAddressWithATimeOut) {
    EXPECT_TRUE(ratingPrompt().connectedToNetwork());

    const auto requests = transport->requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0]->url(), "http://www.tarvelolabs.com/");
    EXPECT_EQ(requests[0]->configuration().requestCachePolicy,
              platform::UrlRequestCachePolicy::ReloadIgnoringLocalCacheData);
    EXPECT_EQ(requests[0]->configuration().timeoutIntervalForRequest, 20.0);
    EXPECT_EQ(requests[0]->state(), platform::UrlSessionTaskState::Running);
}

TEST_F(RatingPromptTest, TheEnvironmentOverridesTheNetworkTestAddress) {
    environment.set("PALLQA_NETWORK_TEST_URL", "http://127.0.0.1:9/probe");
    ratingPrompt().connectedToNetwork();

    EXPECT_EQ(transport->requestedURLs(), std::vector<std::string>{"http://127.0.0.1:9/probe"});
}

TEST_F(RatingPromptTest, AskingOnEveryTunerTickStartsOneRequest) {
    for (int tick = 0; tick < 1000; ++tick) {
        advance(0.01);
        RatingPrompt::tryToShowPrompt();
        if (tick == 0) tap("Remind me later");  // so that every later tick asks again
    }
    EXPECT_EQ(transport->requestedURLs().size(), 1u);
    EXPECT_FALSE(shownAlertTitles().empty()) << "the answer is still the network's";
}

struct LimitCase {
    const char* name;
    bool firstAnswered;
    double secondsLater;
    size_t requests;
};

// Names the case in test listings.
void PrintTo(const LimitCase& c, std::ostream* out) { *out << c.name; }

class RequestLimitTest : public RatingPromptTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(RequestLimitTest, StartsNoRequestWhileOneIsInFlightOrWithinAMinute) {
    ASSERT_TRUE(ratingPrompt().connectedToNetwork());
    if (GetParam().firstAnswered) transport->completeAll();
    advance(GetParam().secondsLater);

    EXPECT_TRUE(ratingPrompt().connectedToNetwork());
    EXPECT_EQ(transport->requestedURLs().size(), GetParam().requests);
}

INSTANTIATE_TEST_SUITE_P(Limits, RequestLimitTest,
                         ::testing::Values(LimitCase{"InFlightWithinAMinute", false, 10.0, 1},
                                           LimitCase{"InFlightLongAfter", false, 3600.0, 1},
                                           LimitCase{"AnsweredWithinAMinute", true, 59.5, 1},
                                           LimitCase{"AnsweredAMinuteLater", true, 60.0, 2}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(RatingPromptTest, UnreadableFlagsStartNoRequest) {
    useNetwork("missing");
    EXPECT_FALSE(ratingPrompt().connectedToNetwork());
    EXPECT_TRUE(transport->requestedURLs().empty());
}

}  // namespace
}  // namespace rating_test
