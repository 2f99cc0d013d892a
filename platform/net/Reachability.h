#pragma once
// Whether an IPv4 address can be reached over the machine's network, read from
// the Linux interfaces (/sys/class/net) and routing table (/proc/net/route) and
// reported in the flags a phone's reachability service gives:
//   reachable             a route leads to the address through an interface
//                         that is up and is not the loopback one;
//   connection required   that interface is up but its link is not (no carrier);
//   transient connection  that interface is a point-to-point link (ppp, tun).
// The all-zeros address asks whether any route leads out: a default route.

#include <netinet/in.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace platform {

enum ReachabilityFlag : uint32_t {
    kReachabilityFlagTransientConnection = 1u << 0,
    kReachabilityFlagReachable = 1u << 1,
    kReachabilityFlagConnectionRequired = 1u << 2,
};

// Where the interfaces and routes are read from; tests point them at fixtures,
// and at missing files to make the flags unreadable.
struct ReachabilitySources {
    std::filesystem::path interfaces = "/sys/class/net";
    std::filesystem::path routes = "/proc/net/route";
};

class NetworkReachability {
public:
    // Any thread. None for an address that is not IPv4.
    static std::unique_ptr<NetworkReachability> createWithAddress(const sockaddr_in& address);

    // Any thread. The flags for the address now; none when the interfaces or
    // the routing table cannot be read.
    std::optional<uint32_t> flags() const;

    static ReachabilitySources sources();
    static void setSources(ReachabilitySources sources);

private:
    explicit NetworkReachability(in_addr_t address) : address_(address) {}
    in_addr_t address_;  // network byte order
};

}  // namespace platform
