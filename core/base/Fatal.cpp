#include "base/Fatal.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <exception>
#include <string>

#include <unistd.h>

namespace quillet {

namespace {

// Filled once, before the abort, so a signal handler can read it without allocating.
std::array<char, 512> reason{};

void writeAll(const std::string& text) {
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(STDERR_FILENO, text.data() + written, text.size() - written);
        if (n <= 0) {
            return;
        }
        written += static_cast<std::size_t>(n);
    }
}

void onTerminate() {
    std::string what = "the program was ended (std::terminate) without an exception";
    if (const auto exception = std::current_exception()) {
        try {
            std::rethrow_exception(exception);
        } catch (const std::exception& caught) {
            what = std::string("an exception nobody caught: ") + caught.what();
        } catch (...) {
            what = "an exception nobody caught, of an unknown type";
        }
    }
    fatal(what);
}

} // namespace

void fatal(std::string_view what) {
    const std::size_t length = std::min(what.size(), reason.size() - 1);
    std::copy_n(what.data(), length, reason.data());
    reason[length] = '\0';
    writeAll("quillet: fatal: " + std::string(what) + "\n");
    std::abort();
}

const char* fatalReason() {
    return reason.data();
}

void reportTerminations() {
    std::set_terminate(onTerminate);
}

} // namespace quillet
