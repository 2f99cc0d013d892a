#include "platform/net/SocketHttpTransport.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <memory>
#include <system_error>
#include <thread>
#include <variant>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kScheme = "http://";
// Enough for any status line; the rest of the answer is not read.
constexpr size_t kStatusLineLimit = 1024;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// Waits for `events` on `fd` until `deadline`; false when the time ran out.
bool waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(left));
        if (ready > 0) return true;
        if (ready < 0 && errno != EINTR) return true;  // the next call reports the error
    }
}

UrlResponse failure(std::string what) { return {0, std::move(what)}; }

std::string systemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

std::string requestText(const HttpAddress& address, UrlRequestCachePolicy cachePolicy) {
    const bool bracketed = address.host.find(':') != std::string::npos;
    std::string host = bracketed ? "[" + address.host + "]" : address.host;
    if (address.port != 80) host += ":" + std::to_string(address.port);
    std::string text = "GET " + address.path + " HTTP/1.1\r\nHost: " + host +
                       "\r\nUser-Agent: pallqa-tuner\r\nAccept: */*\r\n";
    if (cachePolicy == UrlRequestCachePolicy::ReloadIgnoringLocalCacheData) {
        text += "Cache-Control: no-cache\r\nPragma: no-cache\r\n";
    }
    return text + "Connection: close\r\n\r\n";
}

// A connected socket to `address`, or what went wrong.
std::variant<std::unique_ptr<Socket>, std::string> connectTo(const HttpAddress& address, Clock::time_point deadline) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int status = ::getaddrinfo(address.host.c_str(), std::to_string(address.port).c_str(), &hints, &found);
        status != 0) {
        return "could not resolve " + address.host + ": " + ::gai_strerror(status);
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, ::freeaddrinfo);
    std::string error = "no address for " + address.host;
    for (const addrinfo* candidate = found; candidate; candidate = candidate->ai_next) {
        auto socket = std::make_unique<Socket>(
            ::socket(candidate->ai_family, candidate->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, candidate->ai_protocol));
        if (socket->fd() < 0) {
            error = systemError("socket");
            continue;
        }
        if (::connect(socket->fd(), candidate->ai_addr, candidate->ai_addrlen) != 0) {
            if (errno != EINPROGRESS) {
                error = systemError("connect");
                continue;
            }
            if (!waitFor(socket->fd(), POLLOUT, deadline)) return std::string("timed out");
            int status = 0;
            socklen_t length = sizeof status;
            ::getsockopt(socket->fd(), SOL_SOCKET, SO_ERROR, &status, &length);
            if (status != 0) {
                errno = status;
                error = systemError("connect");
                continue;
            }
        }
        return socket;
    }
    return error;
}

}  // namespace

std::optional<HttpAddress> parseHttpAddress(std::string_view url) {
    if (url.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    std::string_view rest = url.substr(kScheme.size());
    const size_t pathStart = rest.find_first_of("/?#");
    std::string_view authority = rest.substr(0, pathStart);
    HttpAddress address;
    if (pathStart != std::string_view::npos) {
        address.path = std::string(rest.substr(pathStart));
        if (address.path.front() != '/') address.path.insert(0, "/");
        address.path = address.path.substr(0, address.path.find('#'));
    }
    if (authority.find('@') != std::string_view::npos) return std::nullopt;  // no credentials in addresses
    std::string_view port;
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        address.host = std::string(authority.substr(1, close - 1));
        const std::string_view after = authority.substr(close + 1);
        if (!after.empty() && after.front() != ':') return std::nullopt;
        if (!after.empty()) port = after.substr(1);
    } else {
        const size_t colon = authority.find(':');
        address.host = std::string(authority.substr(0, colon));
        if (colon != std::string_view::npos) port = authority.substr(colon + 1);
    }
    if (address.host.empty()) return std::nullopt;
    if (!port.empty()) {
        unsigned value = 0;
        const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), value);
        if (error != std::errc() || end != port.data() + port.size() || value == 0 || value > UINT16_MAX) {
            return std::nullopt;
        }
        address.port = static_cast<uint16_t>(value);
    }
    return address;
}

UrlResponse performHttpGet(const std::string& url, UrlRequestCachePolicy cachePolicy, double timeoutSeconds) {
    const auto address = parseHttpAddress(url);
    if (!address) return failure("not a plain http:// address: " + url);
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(std::max(0.0, timeoutSeconds)));
    auto connected = connectTo(*address, deadline);
    if (auto* error = std::get_if<std::string>(&connected)) return failure(*error);
    const int fd = std::get<std::unique_ptr<Socket>>(connected)->fd();

    const std::string request = requestText(*address, cachePolicy);
    for (size_t sent = 0; sent < request.size();) {
        if (!waitFor(fd, POLLOUT, deadline)) return failure("timed out");
        const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EAGAIN && errno != EINTR) return failure(systemError("send"));
        if (n > 0) sent += static_cast<size_t>(n);
    }

    std::string answer;
    while (answer.find("\r\n") == std::string::npos && answer.size() < kStatusLineLimit) {
        if (!waitFor(fd, POLLIN, deadline)) return failure("timed out");
        char buffer[256];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0) break;
        if (n < 0 && errno != EAGAIN && errno != EINTR) return failure(systemError("recv"));
        if (n > 0) answer.append(buffer, static_cast<size_t>(n));
    }
    // "HTTP/1.1 200 OK"
    int status = 0;
    const size_t space = answer.find(' ');
    if (answer.rfind("HTTP/", 0) != 0 || space == std::string::npos ||
        std::from_chars(answer.data() + space + 1, answer.data() + answer.size(), status).ec != std::errc()) {
        return failure("not an HTTP answer");
    }
    return {status, ""};
}

void SocketHttpTransport::start(std::shared_ptr<UrlSessionDataTask> task) {
    try {
        std::thread([task] {
            const auto& configuration = task->configuration();
            task->complete(performHttpGet(task->url(), configuration.requestCachePolicy,
                                          configuration.timeoutIntervalForRequest));
        }).detach();
    } catch (const std::system_error& error) {
        task->complete({0, std::string("could not start the request: ") + error.what()});
    }
}

}  // namespace platform
