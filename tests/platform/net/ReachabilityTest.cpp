// Reachability from Linux interface and routing-table files.

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/core/Installed.h"
#include "platform/net/Reachability.h"

namespace {

using platform::kReachabilityFlagConnectionRequired;
using platform::kReachabilityFlagReachable;
using platform::kReachabilityFlagTransientConnection;

constexpr uint32_t kUnreadable = 0xFFFFFFFF;

struct Case {
    const char* folder;   // under data/reachability
    const char* address;  // IPv4, dotted
    uint32_t flags;       // kUnreadable: no flags
};

// Names the case in test listings.
void PrintTo(const Case& c, std::ostream* out) { *out << c.folder << " " << c.address; }

sockaddr_in addressOf(const char* dotted) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    ::inet_pton(AF_INET, dotted, &address.sin_addr);
    return address;
}

class ReachabilityTest : public ::testing::TestWithParam<Case> {
protected:
    void TearDown() override { platform::resetInstalledServices(); }
};

TEST_P(ReachabilityTest, ReportsTheFlagsOfTheRouteToTheAddress) {
    const std::filesystem::path folder =
        std::filesystem::path(std::getenv("PALLQA_TEST_DATA")) / "reachability" / GetParam().folder;
    platform::NetworkReachability::setSources({folder / "net", folder / "route"});

    const auto reachability = platform::NetworkReachability::createWithAddress(addressOf(GetParam().address));
    ASSERT_NE(reachability, nullptr);
    const std::optional<uint32_t> flags = reachability->flags();
    if (GetParam().flags == kUnreadable) {
        EXPECT_FALSE(flags.has_value());
    } else {
        ASSERT_TRUE(flags.has_value());
        EXPECT_EQ(*flags, GetParam().flags);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, ReachabilityTest,
    ::testing::Values(
        // The all-zeros address: is there a default route through a live interface?
        Case{"wired", "0.0.0.0", kReachabilityFlagReachable},
        Case{"cable-out", "0.0.0.0", kReachabilityFlagReachable | kReachabilityFlagConnectionRequired},
        Case{"dial-up", "0.0.0.0", kReachabilityFlagReachable | kReachabilityFlagTransientConnection},
        Case{"no-default-route", "0.0.0.0", 0},
        Case{"interface-down", "0.0.0.0", 0},
        Case{"loopback-default", "0.0.0.0", 0},
        Case{"route-down", "0.0.0.0", 0},
        Case{"two-defaults", "0.0.0.0", kReachabilityFlagReachable},  // the lower metric wins
        // A particular address takes the most specific route.
        Case{"no-default-route", "192.0.2.7", kReachabilityFlagReachable},
        Case{"no-default-route", "198.51.100.1", 0},
        Case{"wired", "198.51.100.1", kReachabilityFlagReachable},
        // What cannot be read gives no flags at all.
        Case{"no-routes-file", "0.0.0.0", kUnreadable},
        Case{"no-interfaces", "0.0.0.0", kUnreadable},
        Case{"not-a-route-table", "0.0.0.0", kUnreadable},
        Case{"garbled-route", "0.0.0.0", kUnreadable}),
    [](const auto& tested) {
        std::string name = std::string(tested.param.folder) + "_" + tested.param.address;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

TEST(Reachability, OnlyIPv4AddressesAreUnderstood) {
    sockaddr_in address{};
    address.sin_family = AF_INET6;
    EXPECT_EQ(platform::NetworkReachability::createWithAddress(address), nullptr);
}

}  // namespace
