// The real service program under clients that misbehave: trickling, flooding, crowding in,
// or sending what HTTP does not allow. Each test checks that the others are still served.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "RawClient.h"
#include "ServiceProcess.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "service/WebRequest.h"
#include "support/Files.h"
#include "support/Words.h"

using namespace quillet;
using namespace std::chrono_literals;
using test::connectTo;
using test::exchangeRaw;
using test::loopback;
using test::readUntilClosed;
using test::sendAll;
using test::ServiceProcess;

namespace {

const std::string kOwner = "0123456789ABCDEF0123456789ABCDEF";

// The message of an envelope answer's body.
std::string envelopeMessage(const std::string& answer) {
    const auto json =
        nlohmann::json::parse(answer.substr(answer.find("\r\n\r\n") + 4), nullptr, false);
    const auto plain = WebRequest::decodeParam(&json);
    const auto model = ParseProtocol<NormalModel>::parse(plain.value_or(""));
    return model ? model->msg : "(not an envelope)";
}

bool savesWell(const std::string& url, int bank) {
    char token[33];
    std::snprintf(token, sizeof token, "%032X", bank);
    const auto result = WebRequest::exchange({{"port", std::int64_t{1020}},
                                              {"id", std::string(token)},
                                              {"uuid", kOwner},
                                              {"tool", std::string("Quillet")},
                                              {"title", std::string("bank")},
                                              {"text", test::bankText(100)}},
                                             url, 5s);
    const auto model = ParseProtocol<NormalModel>::parse(result.value_or(""));
    return model && model->code == 1;
}

long peakMemoryKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// Clients that start a request and then send one byte at a time, `every` apart, `bytes`
// times; each notes whether the server closed its connection before it was done.
class TricklingClients {
public:
    TricklingClients(int port, int count, std::chrono::milliseconds every, int bytes) {
        for (int i = 0; i < count; ++i) {
            const int fd = connectTo(port);
            sendAll(fd, "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: ");
            sockets_.push_back(fd);
        }
        thread_ = std::thread([this, every, bytes] {
            for (int sent = 0; sent < bytes && !stopped_; ++sent) {
                std::this_thread::sleep_for(every);
                for (const int fd : sockets_) {
                    if (!sendAll(fd, "a")) {
                        ++cutOff_;
                        ::shutdown(fd, SHUT_RDWR); // counted once
                    }
                }
            }
        });
    }
    ~TricklingClients() {
        stopped_ = true;
        thread_.join();
        for (const int fd : sockets_) {
            ::close(fd);
        }
    }
    const std::vector<int>& sockets() const { return sockets_; }
    // Waits until every client sent all its bytes or was cut off.
    void join() { thread_.join(); }

private:
    std::vector<int> sockets_;
    std::thread thread_;
    std::atomic<bool> stopped_{false};
    std::atomic<int> cutOff_{0};
};

} // namespace

TEST(ServiceLimits, TricklingClientsAreCutOffWhileOthersAreServed) {
    test::TempDir dir;
    // All clients here share one address; the limit per address has a test of its own.
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string(),
                           {"--request-timeout", "2", "--connections-per-client", "1024"});
    ASSERT_GT(service.port(), 0);
    TricklingClients slow(service.port(), 64, 250ms, 40);
    for (int bank = 0; bank < 20; ++bank) {
        EXPECT_TRUE(savesWell(service.url(), bank)) << bank;
    }
    // Each trickling request is answered "408" at its deadline, and its connection closed.
    for (const int fd : slow.sockets()) {
        const std::string answer = readUntilClosed(fd);
        EXPECT_TRUE(answer.starts_with("HTTP/1.1 408 ")) << answer;
        EXPECT_EQ(envelopeMessage(answer), "请求超时");
    }
    EXPECT_TRUE(savesWell(service.url(), 99));
}

TEST(ServiceLimits, StopsAtOnceWhileClientsAreStillTrickling) {
    test::TempDir dir;
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string());
    ASSERT_GT(service.port(), 0);
    // Well inside the default deadline of 10 seconds, so only the stop can end them.
    TricklingClients slow(service.port(), 16, 200ms, 30);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(service.terminate(), 0);
    // Had the service waited for them, they would all have been answered "408"; instead their
    // connections were closed with no answer at all.
    for (const int fd : slow.sockets()) {
        EXPECT_EQ(readUntilClosed(fd, 1s), "");
    }
}

TEST(ServiceLimits, HeaderFloodsAreRefusedEarlyAndHoldNoMemory) {
    test::TempDir dir;
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string());
    ASSERT_GT(service.port(), 0);
    std::string flood = "GET /healthz HTTP/1.1\r\n";
    for (int i = 0; i < 1'000'000; ++i) {
        flood += "X-A: 1\r\n";
    }
    std::vector<std::thread> flooders;
    flooders.reserve(8);
    std::atomic<int> refused{0};
    for (int i = 0; i < 8; ++i) {
        flooders.emplace_back([&] {
            const int fd = connectTo(service.port());
            sendAll(fd, flood); // stops when the service closes its side
            if (readUntilClosed(fd).starts_with("HTTP/1.1 431 ")) {
                ++refused;
            }
            ::close(fd);
        });
    }
    for (auto& flooder : flooders) {
        flooder.join();
    }
    EXPECT_EQ(refused, 8);
    // Eight floods of a million headers each once took hundreds of megabytes.
    const long peak = peakMemoryKiB(service.pid());
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 64 * 1024) << peak << " KiB";
    EXPECT_TRUE(savesWell(service.url(), 1));
}

TEST(ServiceLimits, ABurstOfNewConnectionsWaitsInTheBacklogInsteadOfBeingDropped) {
    test::TempDir dir;
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string(),
                           {"--connections-per-client", "1024"}); // one address for all
    ASSERT_GT(service.port(), 0);
    // While the program is stopped, only the kernel's backlog can take connections.
    ::kill(service.pid(), SIGSTOP);
    constexpr int kClients = 300;
    std::vector<pollfd> connecting;
    connecting.reserve(kClients);
    for (int i = 0; i < kClients; ++i) {
        connecting.push_back({connectTo(service.port(), false), POLLOUT, 0});
    }
    int established = 0;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (established < kClients && std::chrono::steady_clock::now() < deadline) {
        ::poll(connecting.data(), connecting.size(), 100);
        established = 0;
        for (auto& c : connecting) {
            established += (c.revents & POLLOUT) != 0 && (c.revents & (POLLERR | POLLHUP)) == 0;
        }
    }
    ::kill(service.pid(), SIGCONT);
    EXPECT_EQ(established, kClients);
    int answered = 0;
    for (auto& c : connecting) {
        ::fcntl(c.fd, F_SETFL, 0);
        sendAll(c.fd, "GET /healthz HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
        answered += readUntilClosed(c.fd).starts_with("HTTP/1.1 200 ");
        ::close(c.fd);
    }
    EXPECT_EQ(answered, kClients);
}

TEST(ServiceLimits, RefusalsSayWhatWentWrong) {
    test::TempDir dir;
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string());
    ASSERT_GT(service.port(), 0);
    const std::string post = "POST / HTTP/1.1\r\nHost: x\r\n";
    struct Case {
        std::string request;
        std::string status;
        std::string message; // empty: not an envelope request
    };
    std::string manyHeaders;
    for (int i = 0; i < 101; ++i) {
        manyHeaders += "X-A: 1\r\n";
    }
    const std::vector<Case> cases = {
        {post + "Content-Length: 6\r\nContent-Length: 6\r\n\r\ndata=x", "400", "请求格式错误"},
        {post + "Transfer-Encoding: chunked\r\n\r\n0\r\n\r\n", "501", "不支持的请求格式"},
        {post + "Content-Length: 2000000\r\n\r\n", "413", "请求过大"},
        {post + manyHeaders + "\r\n", "431", "请求头过大"},
        {"GET /nowhere HTTP/1.1\r\nHost: x\r\n\r\n", "404", ""},
        {"PUT / HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n", "405", ""},
        {"GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n", "200", ""},
        {"GET /healthz HTTP/1.1\r\n\r\n", "400", ""},
        {"GET /healthz HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n", "400", ""},
        {"\r\n\r\nGET /healthz HTTP/1.1\r\nHost: x\r\n\r\n", "200", ""},
        {"GET http://127.0.0.1/healthz HTTP/1.1\r\nHost: x\r\n\r\n", "200", ""},
        {"GET\r\n\r\n", "400", ""},
    };
    for (const auto& c : cases) {
        const std::string answer = exchangeRaw(service.port(), c.request);
        EXPECT_TRUE(answer.starts_with("HTTP/1.1 " + c.status + " ")) << c.request << answer;
        if (!c.message.empty()) {
            EXPECT_EQ(envelopeMessage(answer), c.message) << c.request;
        }
    }
    const std::string head = exchangeRaw(service.port(), "HEAD /healthz HTTP/1.0\r\n\r\n");
    EXPECT_NE(head.find("Content-Length: 3\r\n"), std::string::npos) << head;
    EXPECT_TRUE(head.ends_with("\r\n\r\n")) << head;
}

TEST(ServiceLimits, PagesStayInsideTheSiteAndPathsCannotForgeLogLines) {
    test::TempDir dir;
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string());
    ASSERT_GT(service.port(), 0);
    const auto get = [&](const std::string& target) {
        return exchangeRaw(service.port(),
                           "GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    };
    EXPECT_TRUE(get("/index.php/901.html").starts_with("HTTP/1.1 200 "));
    EXPECT_TRUE(get("/index.php/%39%30%31.html").starts_with("HTTP/1.1 200 "));
    for (const char* outside :
         {"/index.php/901.html%00.png", "/index.php/..%2Fappcast.xml",
          "/index.php/%2e%2e/appcast.xml", "/index.php/../appcast.xml", "/index.php//etc/passwd",
          "/index.php/%2Fetc%2Fpasswd", "/index.php/%"}) {
        EXPECT_TRUE(get(outside).starts_with("HTTP/1.1 404 ")) << outside;
    }
    get("/x%0d%0a2026-01-01T00:00:00Z%20POST%20/%20200%20port=1020%20code=1");
    EXPECT_TRUE(
        exchangeRaw(service.port(), "GET /\x1b[2J HTTP/1.1\r\n\r\n").starts_with("HTTP/1.1 400 "));
    service.terminate();
    const std::string log = service.log();
    EXPECT_NE(log.find("GET /x%0d%0a2026-01-01T00:00:00Z%20POST"), std::string::npos) << log;
    EXPECT_EQ(log.find("\n2026-01-01T00:00:00Z"), std::string::npos) << log;
    EXPECT_EQ(log.find('\x1b'), std::string::npos);
}

TEST(ServiceLimits, AStrayEmptyLineAfterARequestLeavesTheConnectionIdleNotTimedOut) {
    test::TempDir dir;
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string(),
                           {"--request-timeout", "1"});
    ASSERT_GT(service.port(), 0);
    const int fd = connectTo(service.port());
    sendAll(fd, "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n\r\n");
    // Closed when the connection has been idle long enough, with the one answer asked for.
    const std::string received = readUntilClosed(fd);
    ::close(fd);
    EXPECT_TRUE(received.starts_with("HTTP/1.1 200 ")) << received;
    EXPECT_EQ(received.find("HTTP/1.1", 1), std::string::npos) << received;
}

TEST(ServiceLimits, ASlowButSteadyReaderGetsALargeAnswerWhole) {
    test::TempDir dir;
    const std::string page(std::size_t{10} << 20, 'p');
    dir.write("site/pages/large.html", page);
    dir.write("site/appcast.xml", "<rss/>");
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string(),
                           {"--site", (dir.path() / "site").string()});
    ASSERT_GT(service.port(), 0);
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int small = 16 << 10; // so the service waits on this reader, not on the buffers
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    sockaddr_in address = loopback(service.port());
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    sendAll(fd, "GET /index.php/large.html HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    // About 800 KB a second: the 10 MB take longer than the service's write limit of 10 s,
    // which a reader that keeps taking bytes must not meet.
    std::string head;
    std::size_t bodyBytes = 0;
    // Takes up to 80 KB; false once the service has closed the connection.
    const auto takeSome = [&] {
        char buffer[8192];
        for (std::size_t taken = 0; taken < std::size_t{80} * 1024;) {
            const auto got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                return false;
            }
            const auto size = static_cast<std::size_t>(got);
            taken += size;
            const auto headEnd = head.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                bodyBytes += size;
                continue;
            }
            head.append(buffer, size);
            if (const auto end = head.find("\r\n\r\n"); end != std::string::npos) {
                bodyBytes += head.size() - end - 4;
            }
        }
        return true;
    };
    const auto started = std::chrono::steady_clock::now();
    while (takeSome()) {
        std::this_thread::sleep_for(100ms);
    }
    ::close(fd);
    EXPECT_GT(std::chrono::steady_clock::now() - started, 10s); // slower than the write limit
    EXPECT_TRUE(head.starts_with("HTTP/1.1 200 ")) << head.substr(0, 100);
    EXPECT_EQ(bodyBytes, page.size());
}

TEST(ServiceLimits, OneAddressHoldingManyConnectionsLeavesOtherAddressesServed) {
    rlimit files{};
    ::getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &files);
    ASSERT_GE(files.rlim_cur, 1200u) << "this machine allows too few open files for the test";
    test::TempDir dir;
    const std::string log = (dir.path() / "log").string();
    ServiceProcess service((dir.path() / "banks.db").string(), log);
    ASSERT_GT(service.port(), 0);
    constexpr int kHeld = 1100;
    std::vector<int> held;
    held.reserve(kHeld);
    for (int i = 0; i < kHeld; ++i) {
        held.push_back(connectTo(service.port()));
    }
    // A newcomer from the same address is turned away; one from another address is served.
    EXPECT_TRUE(exchangeRaw(service.port(), "GET /healthz HTTP/1.1\r\nHost: x\r\n\r\n")
                    .starts_with("HTTP/1.1 503 "));
    const int other = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in from = loopback(0, 2);
    ASSERT_EQ(::bind(other, reinterpret_cast<sockaddr*>(&from), sizeof from), 0);
    sockaddr_in to = loopback(service.port());
    ASSERT_EQ(::connect(other, reinterpret_cast<sockaddr*>(&to), sizeof to), 0);
    sendAll(other, "GET /healthz HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_TRUE(readUntilClosed(other).starts_with("HTTP/1.1 200 "));
    ::close(other);
    for (const int fd : held) {
        ::close(fd);
    }

    // A line a second at most, counting every connection turned away.
    std::this_thread::sleep_for(1500ms);
    std::ifstream lines(log);
    std::string line;
    int refusalLines = 0;
    long counted = 0;
    while (std::getline(lines, line)) {
        if (line.find("503 too many connections from one client") == std::string::npos) {
            continue;
        }
        ++refusalLines;
        const auto open = line.find(" (");
        counted += open == std::string::npos ? 1 : std::stol(line.substr(open + 2));
    }
    EXPECT_LE(refusalLines, 5);
    EXPECT_EQ(counted, kHeld - 64 + 1);
}

TEST(ServiceLimits, StopsWithinTheGraceTimeWhileLargeAnswersAreBeingWritten) {
    test::TempDir dir;
    dir.write("site/pages/large.html", std::string(std::size_t{10} << 20, 'p'));
    dir.write("site/appcast.xml", "<rss/>");
    ServiceProcess service((dir.path() / "banks.db").string(), (dir.path() / "log").string(),
                           {"--site", (dir.path() / "site").string()});
    ASSERT_GT(service.port(), 0);
    // Two clients that ask for the large page and never read it.
    std::vector<int> stalled;
    for (int i = 0; i < 2; ++i) {
        stalled.push_back(connectTo(service.port()));
        sendAll(stalled.back(), "GET /index.php/large.html HTTP/1.1\r\nHost: x\r\n\r\n");
    }
    std::this_thread::sleep_for(500ms);
    const auto stopping = std::chrono::steady_clock::now();
    EXPECT_EQ(service.terminate(), 0);
    // The answers get the two seconds of grace, and the stop a margin for a loaded machine.
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, 5s);
    for (const int fd : stalled) {
        ::close(fd);
    }
}
