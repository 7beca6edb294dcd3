#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace quillet::cli {

// What a phase counts; bytes are shown in kB, MB or GB, as suits their total.
enum class ProgressUnit { entries, files, bytes, methods };

// How far one phase of a run has come, on one line: redrawn in place on a terminal (at most every
// 50 ms), otherwise written when the phase starts, at every tenth and when it ends, so that a log
// stays short.
class ProgressBar {
public:
    ProgressBar(std::FILE* out, std::string label, ProgressUnit unit);

    // `total` 0: not known yet.
    void update(std::uint64_t done, std::uint64_t total);
    // Shows the last state and ends the line.
    void finish();

private:
    std::string line(bool bar) const;
    void draw();

    std::FILE* out_;
    std::string label_;
    ProgressUnit unit_;
    bool terminal_;
    std::uint64_t done_ = 0;
    std::uint64_t total_ = 0;
    bool started_ = false;
    // Not a terminal: the tenth last written, and whether the last line shows the current state.
    int lastTenth_ = -1;
    bool current_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};

} // namespace quillet::cli
