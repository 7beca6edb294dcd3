#include "ProgressBar.h"

#include <algorithm>
#include <utility>

#include <unistd.h>

namespace quillet::cli {

namespace {

constexpr auto redrawInterval = std::chrono::milliseconds(50);
constexpr std::uint64_t barWidth = 30;

const char* unitName(ProgressUnit unit) {
    switch (unit) {
    case ProgressUnit::entries:
        return "entries";
    case ProgressUnit::files:
        return "files";
    case ProgressUnit::bytes:
        return "bytes";
    case ProgressUnit::methods:
        return "methods";
    }
    return "";
}

// "12 of 30 files", or for bytes "1.2 of 30.5 MB" in the unit that suits the total.
std::string amounts(std::uint64_t done, std::uint64_t total, ProgressUnit unit) {
    if (unit != ProgressUnit::bytes || total < 1000) {
        return std::to_string(done) + " of " + std::to_string(total) + " " + unitName(unit);
    }
    const auto [scale, name] = total < 1000000      ? std::pair{1e3, "kB"}
                               : total < 1000000000 ? std::pair{1e6, "MB"}
                                                    : std::pair{1e9, "GB"};
    char text[64];
    std::snprintf(text, sizeof text, "%.1f of %.1f %s", static_cast<double>(done) / scale,
                  static_cast<double>(total) / scale, name);
    return text;
}

} // namespace

ProgressBar::ProgressBar(std::FILE* out, std::string label, ProgressUnit unit)
    : out_(out), label_(std::move(label)), unit_(unit), terminal_(::isatty(::fileno(out)) != 0) {}

std::string ProgressBar::line(bool bar) const {
    std::string text = label_ + ": ";
    if (total_ == 0) {
        return text + (done_ == 0 ? "started" : std::to_string(done_) + " " + unitName(unit_));
    }
    const std::uint64_t done = std::min(done_, total_);
    if (bar) {
        const auto filled = done * barWidth / total_;
        text += '[';
        text.append(filled, '#');
        text.append(barWidth - filled, ' ');
        text += "] ";
    }
    return text + std::to_string(done * 100 / total_) + "% (" + amounts(done, total_, unit_) + ")";
}

void ProgressBar::draw() {
    if (terminal_) {
        // Back to the start of the line, and clear what a longer line left.
        std::fprintf(out_, "\r%s\033[K", line(true).c_str());
    } else {
        std::fprintf(out_, "%s\n", line(false).c_str());
    }
    std::fflush(out_);
    current_ = true;
}

void ProgressBar::update(std::uint64_t done, std::uint64_t total) {
    const bool changed = !started_ || done != done_ || total != total_;
    done_ = done;
    total_ = total;
    if (!changed) {
        return;
    }
    current_ = false;
    if (terminal_) {
        const auto now = std::chrono::steady_clock::now();
        if (!started_ || now - lastDraw_ >= redrawInterval) {
            lastDraw_ = now;
            draw();
        }
    } else {
        const int tenth = total == 0 ? -1 : static_cast<int>(std::min(done, total) * 10 / total);
        if (!started_ || tenth > lastTenth_) {
            lastTenth_ = tenth;
            draw();
        }
    }
    started_ = true;
}

void ProgressBar::finish() {
    if (!started_) {
        return;
    }
    if (!current_) {
        draw();
    }
    if (terminal_) {
        std::fputc('\n', out_);
    }
    started_ = false;
}

} // namespace quillet::cli
