#include "ServiceProcess.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace quillet::test {

ServiceProcess::ServiceProcess(const std::string& database, const std::string& log,
                               const std::vector<std::string>& extraArguments)
    : log_(log) {
    std::remove(log.c_str()); // the port is read from a fresh log
    std::vector<std::string> arguments = {QUILLET_SERVICE_PATH, "--listen", "127.0.0.1:0", "--db",
                                          database};
    arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
        if (std::freopen(log.c_str(), "w", stderr) == nullptr) {
            ::_exit(126);
        }
        ::execv(QUILLET_SERVICE_PATH, argv.data());
        ::_exit(127);
    }
    constexpr std::string_view kListening = "listening on 127.0.0.1:";
    for (int attempt = 0; attempt < 250 && pid_ > 0; ++attempt) {
        const std::string text = this->log();
        if (const auto at = text.find(kListening); at != std::string::npos) {
            port_ = std::atoi(text.c_str() + at + kListening.size());
            return;
        }
        ::usleep(20000);
    }
}

ServiceProcess::~ServiceProcess() {
    if (pid_ > 0) {
        terminate();
    }
}

std::string ServiceProcess::log() const {
    std::ifstream in(log_);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

int ServiceProcess::waitForExit() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int ServiceProcess::terminate() {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, SIGTERM);
    return waitForExit();
}

void ServiceProcess::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        waitForExit();
    }
}

} // namespace quillet::test
