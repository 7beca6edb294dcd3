// quillet-service: the word bank service, help pages and update feed.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <thread>

#include <pthread.h>
#include <sys/resource.h>

#ifdef __APPLE__
#include <climits>
#include <mach-o/dyld.h>
#endif

#include "ServiceServer.h"
#include "base/Fatal.h"
#include "version/Version.h"

namespace {

constexpr const char* kUsage =
    "usage: quillet-service [--listen HOST:PORT] [--db FILE] [--cert CERT --key KEY] [--site DIR]\n"
    "       quillet-service --version\n"
    "  --listen  address to serve on (default 127.0.0.1:" QUILLET_SERVICE_PORT_TEXT ")\n"
    "  --db      SQLite file of the word banks (default quillet-service.db)\n"
    "  --cert, --key  serve HTTPS with this certificate and private key (PEM)\n"
    "  --site    folder with pages/ and appcast.xml (default: share/quillet/site beside bin/)\n"
    "  --request-timeout SECONDS  time a client has to send a whole request (default 10)\n"
    "  --connections-per-client N  connections one client address may hold (default 64)\n"
    "  --saves-per-minute N  word bank saves one client address may make a minute (default 120)\n"
    "  --heavy-answers N     owner lists built at once; more wait, then get 503 (default 1)\n"
    "  --max-db-size SIZE    past this the store takes no new banks, e.g. 500M (default 1G)\n";

// The site installed beside the program: <prefix>/bin/quillet-service serves
// <prefix>/share/quillet/site. The build copies the site to the same place in the build tree.
std::string defaultSiteFolder(const char* argv0) {
    std::error_code error;
    std::filesystem::path program;
#ifdef __APPLE__
    char path[PATH_MAX];
    uint32_t size = sizeof path;
    if (_NSGetExecutablePath(path, &size) == 0) {
        program = std::filesystem::canonical(path, error);
    }
#else
    program = std::filesystem::read_symlink("/proc/self/exe", error);
#endif
    if (program.empty()) {
        program = std::filesystem::absolute(argv0, error);
    }
    return (program.parent_path().parent_path() / "share" / "quillet" / "site").string();
}

// Every connection holds a descriptor; the usual soft limit of 1024 would end accepting before
// the connection limit does.
void raiseOpenFileLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// A whole number of seconds from 1 to a day.
bool parseSeconds(const std::string& text, std::chrono::milliseconds& into) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 86400) {
        return false;
    }
    into = std::chrono::seconds(value);
    return true;
}

// A whole number from 1 to `largest`.
bool parseCount(const std::string& text, unsigned long long largest, unsigned long long& into) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 || value < 1 ||
        value > largest) {
        return false;
    }
    into = value;
    return true;
}

// A size in bytes, with an optional K, M or G (powers of 1024).
bool parseSize(std::string text, std::uint64_t& into) {
    unsigned shift = 0;
    if (!text.empty()) {
        switch (text.back()) {
        case 'K':
        case 'k':
            shift = 10;
            break;
        case 'M':
        case 'm':
            shift = 20;
            break;
        case 'G':
        case 'g':
            shift = 30;
            break;
        default:
            break;
        }
    }
    if (shift != 0) {
        text.pop_back();
    }
    unsigned long long value = 0;
    if (!parseCount(text, std::numeric_limits<std::uint64_t>::max() >> shift, value)) {
        return false;
    }
    into = std::uint64_t{value} << shift;
    return true;
}

bool splitAddress(const std::string& address, std::string& host, int& port) {
    const auto colon = address.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return false;
    }
    host = address.substr(0, colon);
    char* end = nullptr;
    const long value = std::strtol(address.c_str() + colon + 1, &end, 10);
    if (*end != '\0' || value < 0 || value > 65535) {
        return false;
    }
    port = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    quillet::reportTerminations();
    std::string address = "127.0.0.1:" QUILLET_SERVICE_PORT_TEXT;
    std::string requestTimeout = "10";
    std::string savesPerMinute = "120";
    std::string connectionsPerClient = "64";
    std::string heavyAnswers = "1";
    std::string maximumDatabaseSize = "1G";
    quillet::service::ServiceOptions options{
        "quillet-service.db", defaultSiteFolder(argv[0]), "", "", {}};
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::printf("quillet-service %s\n", quillet::version);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* target = arg == "--listen"                   ? &address
                              : arg == "--request-timeout"        ? &requestTimeout
                              : arg == "--db"                     ? &options.database
                              : arg == "--cert"                   ? &options.certificate
                              : arg == "--key"                    ? &options.key
                              : arg == "--site"                   ? &options.site
                              : arg == "--saves-per-minute"       ? &savesPerMinute
                              : arg == "--connections-per-client" ? &connectionsPerClient
                              : arg == "--heavy-answers"          ? &heavyAnswers
                              : arg == "--max-db-size"            ? &maximumDatabaseSize
                                                                  : nullptr;
        if (target == nullptr || i + 1 >= argc) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        *target = argv[++i];
    }
    if (!parseSeconds(requestTimeout, options.limits.requestTimeout)) {
        std::fprintf(stderr, "quillet-service: not a number of seconds: %s\n",
                     requestTimeout.c_str());
        return 2;
    }
    unsigned long long saves = 0;
    unsigned long long heavy = 0;
    unsigned long long perClient = 0;
    if (!parseCount(savesPerMinute, 1'000'000'000, saves) ||
        !parseCount(connectionsPerClient, 1'000'000, perClient) ||
        !parseCount(heavyAnswers, 1024, heavy) ||
        !parseSize(maximumDatabaseSize, options.maximumDatabaseBytes)) {
        std::fprintf(stderr,
                     "quillet-service: --connections-per-client, --saves-per-minute, "
                     "--heavy-answers and --max-db-size take a positive number (a size may end "
                     "in K, M or G)\n");
        return 2;
    }
    options.savesPerMinute = static_cast<unsigned>(saves);
    options.limits.maximumConnectionsPerClient = static_cast<std::size_t>(perClient);
    options.heavyAnswers = static_cast<std::size_t>(heavy);
    std::string host;
    int port = 0;
    if (!splitAddress(address, host, port)) {
        std::fprintf(stderr, "quillet-service: not HOST:PORT: %s\n", address.c_str());
        return 2;
    }

    raiseOpenFileLimit();

    // Signals are taken by one thread that stops the server; the others never see them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    const auto opened = quillet::service::ServiceServer::open(options);
    if (!opened) {
        std::fprintf(stderr, "quillet-service: %s\n", opened.error().message.c_str());
        return 1;
    }
    quillet::service::ServiceServer& server = **opened;
    const int bound = server.bind(host, port);
    if (bound < 0) {
        std::fprintf(stderr, "quillet-service: cannot listen on %s\n", address.c_str());
        return 1;
    }
    std::fprintf(stderr, "quillet-service: listening on %s:%d\n", host.c_str(), bound);
    std::thread stopper([&] {
        int received = 0;
        sigwait(&signals, &received);
        std::fprintf(stderr, "quillet-service: stopping\n");
        server.stop();
    });
    const bool served = server.run();
    if (!served) {
        // The server ended without a signal; wake the waiting thread so it can end too. SIGTERM
        // is blocked and awaited there, so it ends the wait, not the thread.
        // NOLINTNEXTLINE(bugprone-bad-signal-to-kill-thread)
        pthread_kill(stopper.native_handle(), SIGTERM);
    }
    stopper.join();
    return served ? 0 : 1;
}
