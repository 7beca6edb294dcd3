#pragma once

#include <string>
#include <vector>

namespace quillet::bench {

struct ChildRun {
    int exitCode = -1;
    double seconds = 0;
    long peakKilobytes = 0; // the child's maximum resident set size
};

// Runs a program with HOME set to `home`, output discarded, and measures it.
ChildRun runChild(const std::string& program, const std::vector<std::string>& args,
                  const std::string& home);

} // namespace quillet::bench
