#pragma once

#include <cstdint>

namespace quillet {

// Where the engine's randomness comes from. Production draws from the operating system's secure
// generator; tests and benchmarks pass a seeded source to make runs reproducible.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::uint32_t next() = 0;

    // A uniform draw from [0, bound), bound > 0, free of modulo bias: values below 2^32 mod bound
    // are drawn again.
    std::uint32_t uniform(std::uint32_t bound);

    // The operating system's generator; safe to share between threads.
    static RandomSource& system();
};

// A deterministic generator (splitmix64) for reproducible runs. Not for secrets.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next() override;

private:
    std::uint64_t state_;
};

} // namespace quillet
