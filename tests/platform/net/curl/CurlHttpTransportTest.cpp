// The desktop's one-shot GET through libcurl, against servers on the loopback
// interface only; the proxy variables are cleared (or pointed at loopback).

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "platform/core/Log.h"
#include "platform/net/curl/CurlHttpTransport.h"
#include "tests/support/ScopedEnvironment.h"

namespace {

using platform::UrlRequestCachePolicy;
using platform::net::curl::performCurlGet;

// Long enough never to fire on a loaded machine; only guards against a hang.
constexpr int kGuardMilliseconds = 30000;

// A one-connection HTTP server on 127.0.0.1: it reads one request head,
// answers `reply` (or nothing when empty) and closes once the client has.
class LoopbackServer {
public:
    explicit LoopbackServer(std::string reply) : reply_(std::move(reply)) {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            ADD_FAILURE() << "cannot listen on the loopback interface";
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() {
        thread_.join();
        ::close(listener_);
    }

    uint16_t port() const { return port_; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    // The request head the server received.
    std::string request() { return request_.get_future().get(); }

private:
    void serve() {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, kGuardMilliseconds) != 1) {
            request_.set_value("");
            return;
        }
        const int connection = ::accept(listener_, nullptr, nullptr);
        std::string head;
        char buffer[512];
        while (head.find("\r\n\r\n") == std::string::npos) {
            const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            head.append(buffer, static_cast<size_t>(n));
        }
        request_.set_value(head);
        if (!reply_.empty()) ::send(connection, reply_.data(), reply_.size(), MSG_NOSIGNAL);
        // Hold the connection until the client lets go of it.
        pollfd open{connection, POLLIN, 0};
        while (::poll(&open, 1, kGuardMilliseconds) == 1 && ::recv(connection, buffer, sizeof buffer, 0) > 0) {
        }
        ::close(connection);
    }

    std::string reply_;
    int listener_ = -1;
    uint16_t port_ = 0;
    std::promise<std::string> request_;
    std::thread thread_;
};

// A listening socket on 127.0.0.1 that nobody should connect to.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(fd_, 4);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd_); }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    bool connectionWithin(int milliseconds) const {
        pollfd waiting{fd_, POLLIN, 0};
        return ::poll(&waiting, 1, milliseconds) == 1;
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

// Every test starts without the developer's proxy settings.
class CurlTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                                 "no_proxy", "NO_PROXY"}) {
            environment.clear(name);
        }
    }
    void TearDown() override { platform::setHttpTransport(nullptr); }
    testing_support::ScopedEnvironment environment;
};

TEST_F(CurlTest, SendsAGetAndReadsTheStatus) {
    LoopbackServer server("HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n");
    const auto response = performCurlGet(server.url("/probe?q=1"), UrlRequestCachePolicy::ReloadIgnoringLocalCacheData, 10.0);

    EXPECT_EQ(response.error, "");
    EXPECT_EQ(response.statusCode, 204);
    const std::string request = server.request();
    EXPECT_EQ(request.rfind("GET /probe?q=1 HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"), std::string::npos);
    EXPECT_NE(request.find("\r\nCache-Control: no-cache\r\n"), std::string::npos) << request;
}

TEST_F(CurlTest, GivesUpWhenTheAnswerDoesNotComeInTime) {
    LoopbackServer server("");
    const auto response = performCurlGet(server.url("/"), UrlRequestCachePolicy::UseProtocolCachePolicy, 0.2);

    EXPECT_EQ(response.error, "timed out");
    EXPECT_EQ(response.statusCode, 0);
}

TEST_F(CurlTest, ReportsARefusedConnection) {
    // A port that was just free and is listened on by nobody.
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);

    const auto response = performCurlGet("http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/",
                                         UrlRequestCachePolicy::UseProtocolCachePolicy, 10.0);
    EXPECT_EQ(response.statusCode, 0);
    EXPECT_FALSE(response.error.empty());
}

TEST_F(CurlTest, GoesThroughTheUsersProxy) {
    LoopbackServer proxy("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n");
    environment.set("http_proxy", proxy.url(""));
    const auto response =
        performCurlGet("http://pallqa-tuner.invalid/probe", UrlRequestCachePolicy::UseProtocolCachePolicy, 10.0);
    EXPECT_EQ(response.error, "");
    EXPECT_EQ(response.statusCode, 200);
    const std::string request = proxy.request();
    EXPECT_EQ(request.rfind("GET http://pallqa-tuner.invalid/probe HTTP/1.1\r\n", 0), 0u) << request;
}

TEST_F(CurlTest, AnInvalidAddressIsNeverSentAndLoggedOnce) {
    const Listener listener;
    platform::setHttpTransport(std::make_shared<platform::net::curl::CurlHttpTransport>());
    for (const std::string& address :
         {listener.url("/\r\nX-Injected: yes"), listener.url("/a b"), listener.url("/\x01"), std::string("ftp://127.0.0.1/"),
          std::string("http://"), std::string("not an address"), std::string("")}) {
        platform::LogCapture log;
        platform::UrlResponse answer;
        const auto task = platform::UrlSession::sessionWithConfiguration({})->dataTaskWithURL(
            address, [&answer](const platform::UrlResponse& response) { answer = response; });
        task->resume();
        EXPECT_EQ(task->state(), platform::UrlSessionTaskState::Completed) << address;
        EXPECT_EQ(answer.statusCode, 0) << address;
        EXPECT_FALSE(answer.error.empty()) << address;
        ASSERT_EQ(log.lines().size(), 1u) << address;
        EXPECT_EQ(log.lines()[0].find('\r'), std::string::npos) << "one line: " << log.lines()[0];
        EXPECT_EQ(log.lines()[0].find('\n'), std::string::npos) << "one line: " << log.lines()[0];
    }
    EXPECT_FALSE(listener.connectionWithin(300)) << "a request went out";
}

TEST_F(CurlTest, ValidAddressesAreHttpAndHttpsWithAHost) {
    for (const char* valid : {"http://www.tarvelolabs.com/", "https://www.tarvelolabs.com/", "http://127.0.0.1:8080/a?b=c",
                              "http://[::1]:81/"}) {
        EXPECT_EQ(platform::net::curl::invalidAddressReason(valid), std::nullopt) << valid;
    }
    for (const char* invalid : {"ftp://example.org/", "file:///etc/passwd", "http://", "http://exa mple.org/",
                                "http://example.org/\r\nX: y", "gopher://example.org/"}) {
        EXPECT_NE(platform::net::curl::invalidAddressReason(invalid), std::nullopt) << invalid;
    }
}

TEST_F(CurlTest, RunsAResumedTaskInTheBackgroundAndCompletesIt) {
    LoopbackServer server("HTTP/1.0 200 OK\r\nContent-Length: 0\r\n\r\n");
    platform::setHttpTransport(std::make_shared<platform::net::curl::CurlHttpTransport>());
    std::promise<platform::UrlResponse> ended;
    auto configuration = platform::UrlSessionConfiguration::ephemeralSessionConfiguration();
    configuration.setTimeoutIntervalForRequest(10.0);
    const auto task = platform::UrlSession::sessionWithConfiguration(configuration)->dataTaskWithURL(
        server.url("/"), [&ended](const platform::UrlResponse& response) { ended.set_value(response); });

    EXPECT_EQ(task->state(), platform::UrlSessionTaskState::Suspended);
    task->resume();
    auto answer = ended.get_future();
    ASSERT_EQ(answer.wait_for(std::chrono::milliseconds(kGuardMilliseconds)), std::future_status::ready);

    EXPECT_EQ(answer.get().statusCode, 200);
    EXPECT_EQ(task->state(), platform::UrlSessionTaskState::Completed);
    EXPECT_EQ(server.request().find("Cache-Control"), std::string::npos) << "the default policy uses caches";
}

}  // namespace
