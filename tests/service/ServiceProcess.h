#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace quillet::test {

// The real quillet-service program, started on a free loopback port with the given database
// and extra arguments; its standard error goes to a log file. Stopped with SIGTERM when
// destroyed unless stopped before.
class ServiceProcess {
public:
    ServiceProcess(const std::string& database, const std::string& log,
                   const std::vector<std::string>& extraArguments = {});
    ~ServiceProcess();
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    // 0 when the program did not report a port within a few seconds.
    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    pid_t pid() const { return pid_; }
    std::string log() const;

    // Sends SIGTERM and waits; the exit status, or -1 when it ended by a signal.
    int terminate();
    // Sends SIGKILL and waits.
    void kill();

private:
    int waitForExit();

    std::string log_;
    pid_t pid_ = -1;
    int port_ = 0;
};

} // namespace quillet::test
