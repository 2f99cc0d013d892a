#include "platform/net/Reachability.h"

#include <net/if.h>
#include <net/route.h>

#include <bit>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/Installed.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

Installed<ReachabilitySources>& currentSources() {
    static Installed<ReachabilitySources> sources;
    return sources;
}

struct Route {
    std::string interface;
    uint32_t destination = 0;  // as the kernel prints them: the address's bytes in memory order
    uint32_t mask = 0;
    uint32_t metric = 0;
};

bool parseNumber(const std::string& text, uint32_t& value, int base = 16) {
    try {
        size_t used = 0;
        const unsigned long parsed = std::stoul(text, &used, base);
        if (used != text.size() || parsed > UINT32_MAX) return false;
        value = static_cast<uint32_t>(parsed);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// The usable routes of a /proc/net/route table; none when the file cannot be
// read or is not such a table.
std::optional<std::vector<Route>> readRoutes(const fs::path& file) {
    std::ifstream in(file);
    std::string header;
    if (!in || !std::getline(in, header) || header.rfind("Iface", 0) != 0) return std::nullopt;
    std::vector<Route> routes;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string interface, destination, gateway, flags, refCount, use, metric, mask;
        if (!(fields >> interface >> destination >> gateway >> flags >> refCount >> use >> metric >> mask)) continue;
        Route route{interface};
        uint32_t routeFlags = 0;
        if (!parseNumber(destination, route.destination) || !parseNumber(mask, route.mask) ||
            !parseNumber(flags, routeFlags) || !parseNumber(metric, route.metric, 10)) {
            return std::nullopt;
        }
        if (routeFlags & RTF_UP) routes.push_back(route);
    }
    return routes;
}

// The most specific route to `address`, lowest metric first among equals.
std::optional<Route> routeTo(const std::vector<Route>& routes, in_addr_t address) {
    std::optional<Route> best;
    for (const auto& route : routes) {
        if ((address & route.mask) != (route.destination & route.mask)) continue;
        if (!best || std::popcount(route.mask) > std::popcount(best->mask) ||
            (route.mask == best->mask && route.metric < best->metric)) {
            best = route;
        }
    }
    return best;
}

std::string readWord(const fs::path& file) {
    std::ifstream in(file);
    std::string word;
    in >> word;
    return word;
}

// The flags an interface gives a route through it.
uint32_t flagsThrough(const fs::path& interfaces, const std::string& name) {
    uint32_t interfaceFlags = 0;
    // The file holds e.g. "0x1003"; base 16 takes the prefix.
    if (!parseNumber(readWord(interfaces / name / "flags"), interfaceFlags)) return 0;  // the interface is gone
    if (!(interfaceFlags & IFF_UP) || (interfaceFlags & IFF_LOOPBACK)) return 0;
    uint32_t flags = kReachabilityFlagReachable;
    if (interfaceFlags & IFF_POINTOPOINT) flags |= kReachabilityFlagTransientConnection;
    // "unknown" is what links without a carrier notion (tunnels, some
    // virtual devices) report; they carry traffic once up.
    const std::string link = readWord(interfaces / name / "operstate");
    if (link != "up" && link != "unknown") flags |= kReachabilityFlagConnectionRequired;
    return flags;
}

}  // namespace

std::unique_ptr<NetworkReachability> NetworkReachability::createWithAddress(const sockaddr_in& address) {
    if (address.sin_family != AF_INET) return nullptr;
    return std::unique_ptr<NetworkReachability>(new NetworkReachability(address.sin_addr.s_addr));
}

std::optional<uint32_t> NetworkReachability::flags() const {
    const ReachabilitySources from = sources();
    std::error_code ec;
    if (!fs::is_directory(from.interfaces, ec)) return std::nullopt;
    const auto routes = readRoutes(from.routes);
    if (!routes) return std::nullopt;
    const auto route = routeTo(*routes, address_);
    return route ? flagsThrough(from.interfaces, route->interface) : 0;
}

ReachabilitySources NetworkReachability::sources() { return currentSources().get(); }

void NetworkReachability::setSources(ReachabilitySources sources) { currentSources().install(std::move(sources)); }

}  // namespace platform
