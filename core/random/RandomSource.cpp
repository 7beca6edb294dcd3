#include "random/RandomSource.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <string>

#if defined(__APPLE__)
#include <stdlib.h>
#else
#include <sys/random.h>
#endif

#include "base/Fatal.h"

namespace quillet {

namespace {

class SystemRandom final : public RandomSource {
public:
    std::uint32_t next() override {
        // Each thread keeps its own buffer, refilled a block at a time to spare system calls.
        thread_local std::array<std::uint32_t, 64> buffer{};
        thread_local std::size_t used = buffer.size();
        if (used == buffer.size()) {
            fill(buffer.data(), sizeof buffer);
            used = 0;
        }
        return buffer[used++];
    }

private:
    static void fill(void* target, std::size_t size) {
#if defined(__APPLE__)
        arc4random_buf(target, size);
#else
        auto* bytes = static_cast<unsigned char*>(target);
        while (size > 0) {
            const ssize_t got = ::getrandom(bytes, size, 0);
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                // Nothing else is fit to name things or make tokens with.
                fatal(std::string("the system's random generator failed: ") + std::strerror(errno));
            }
            bytes += got;
            size -= static_cast<std::size_t>(got);
        }
#endif
    }
};

} // namespace

std::uint32_t RandomSource::uniform(std::uint32_t bound) {
    const std::uint32_t floor = (0u - bound) % bound;
    while (true) {
        const std::uint32_t value = next();
        if (value >= floor) {
            return value % bound;
        }
    }
}

RandomSource& RandomSource::system() {
    static SystemRandom source;
    return source;
}

std::uint32_t SeededRandom::next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

} // namespace quillet
