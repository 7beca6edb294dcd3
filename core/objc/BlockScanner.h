#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "objc/KeyNameReader.h"
#include "objc/TokenView.h"
#include "objc/UseRecorder.h"

namespace quillet::objc {

// Where an @interface, @protocol or @implementation block lies among the tokens.
struct BlockExtent {
    std::size_t first;
    std::size_t end;
    std::int32_t container; // into SourceFacts::containers
    bool implementation;
};

// Reads the blocks of a file: each block's class or protocol, and the method declarations and
// definitions in it with their keywords. Bodies are skipped; they are the message scan's.
class BlockScanner {
public:
    BlockScanner(const TokenView& tokens, UseRecorder& uses) : tokens_(tokens), uses_(uses) {}

    void run();
    // In token order, not overlapping.
    const std::vector<BlockExtent>& blocks() const { return blocks_; }

private:
    bool startsBlock(std::size_t i) const;
    std::size_t block(std::size_t start);
    void readAlternativeSignatures();
    std::size_t pastAngles(std::size_t i) const;
    std::size_t property(std::size_t keyword, const KeyNameReader& keys, std::int32_t container);
    std::size_t method(std::size_t start, std::int32_t container, bool implementation);
    std::string unaryName(std::size_t start);
    std::size_t signatureEnd(std::size_t i) const;

    const TokenView& tokens_;
    UseRecorder& uses_;
    std::vector<BlockExtent> blocks_;
    std::unordered_set<std::size_t> methodStarts_;
};

} // namespace quillet::objc
