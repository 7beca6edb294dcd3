#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

namespace quillet::cli {

// Shows how far a rename has got: a bar redrawn in place on a terminal, a line per tenth
// otherwise (logs and pipes).
class ProgressBar {
public:
    ProgressBar(std::FILE* out, std::size_t total);

    void advance();
    void finish();

private:
    void draw();

    std::FILE* out_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool terminal_;
    std::size_t lastTenth_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
};

} // namespace quillet::cli
