#include "ProgressBar.h"

#include <string>

#include <unistd.h>

namespace quillet::cli {

ProgressBar::ProgressBar(std::FILE* out, std::size_t total)
    : out_(out), total_(total), terminal_(::isatty(::fileno(out)) != 0) {}

void ProgressBar::advance() {
    ++done_;
    if (terminal_) {
        const auto now = std::chrono::steady_clock::now();
        if (now - lastDraw_ >= std::chrono::milliseconds(50) || done_ == total_) {
            lastDraw_ = now;
            draw();
        }
        return;
    }
    const std::size_t tenth = total_ == 0 ? 10 : done_ * 10 / total_;
    if (tenth > lastTenth_) {
        lastTenth_ = tenth;
        std::fprintf(out_, "renaming: %zu%% (%zu/%zu)\n", tenth * 10, done_, total_);
    }
}

void ProgressBar::draw() {
    constexpr std::size_t width = 40;
    const std::size_t filled = total_ == 0 ? width : done_ * width / total_;
    const std::string bar = std::string(filled, '#') + std::string(width - filled, ' ');
    std::fprintf(out_, "\r[%s] %zu/%zu", bar.c_str(), done_, total_);
    std::fflush(out_);
}

void ProgressBar::finish() {
    if (terminal_ && total_ > 0) {
        std::fputc('\n', out_);
    }
}

} // namespace quillet::cli
