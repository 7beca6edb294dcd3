#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace quillet {

// A fixed-size set of small integers.
class BitSet {
public:
    BitSet() = default;
    explicit BitSet(std::size_t size) : words_((size + 63) / 64, 0) {}

    void insert(std::size_t i) { words_[i / 64] |= std::uint64_t{1} << (i % 64); }
    bool contains(std::size_t i) const {
        return i / 64 < words_.size() && (words_[i / 64] >> (i % 64) & 1) != 0;
    }
    void unite(const BitSet& other) {
        for (std::size_t w = 0; w < words_.size() && w < other.words_.size(); ++w) {
            words_[w] |= other.words_[w];
        }
    }
    void intersect(const BitSet& other) {
        for (std::size_t w = 0; w < words_.size(); ++w) {
            words_[w] &= w < other.words_.size() ? other.words_[w] : 0;
        }
    }
    void clear() { std::fill(words_.begin(), words_.end(), 0); }

    template <typename Visit> void forEach(Visit visit) const {
        for (std::size_t w = 0; w < words_.size(); ++w) {
            for (std::uint64_t bits = words_[w]; bits != 0; bits &= bits - 1) {
                visit(w * 64 + static_cast<std::size_t>(std::countr_zero(bits)));
            }
        }
    }

private:
    std::vector<std::uint64_t> words_;
};

} // namespace quillet
