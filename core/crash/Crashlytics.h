#pragma once

#include <string>

#include "base/Result.h"

namespace quillet {

// Crash reporting: once started, a fatal signal (segmentation fault, bus error, illegal
// instruction, arithmetic error, abort) writes a report into the report folder before the
// process dies of that signal. A report holds the time, the version, the user name, the user
// identifier, the signal and a backtrace. Reports stay on this machine.
class Crashlytics {
public:
    static Crashlytics& shared();

    // Creates `folder` and installs the handlers. Fails, with nothing installed, when the folder
    // cannot be made or its path is too long to keep. A second start only changes the folder and
    // the version.
    Status start(const std::string& folder, const std::string& version);

    void setUserName(const std::string& name);
    void setUserIdentifier(const std::string& identifier);

    // Writes the report for `signal` now; the handlers call this. Safe inside a signal handler.
    void writeReport(int signal) const;

private:
    Crashlytics() = default;
    void rebuildHeader();

    std::string folder_;
    std::string version_;
    std::string userName_ = "Unknown";
    std::string userIdentifier_;
};

} // namespace quillet
