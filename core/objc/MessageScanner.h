#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "objc/BlockScanner.h"
#include "objc/TokenView.h"
#include "objc/UseRecorder.h"

namespace quillet::objc {

// Reads the selectors a file's code uses: message sends with their whole selector (nested ones,
// blocks, casts, ternaries and C++ in their arguments), @selector(...), and string literals that
// spell a selector; argument-less sends and @selector(name) too when the recorder asks. Every "["
// is looked at once, so the scan stays linear. The token ranges [first, end) in `skipped` (in
// order, apart) are left to another scan.
class MessageScanner {
public:
    using TokenRanges = std::vector<std::pair<std::size_t, std::size_t>>;

    MessageScanner(const TokenView& tokens, UseRecorder& uses,
                   const std::vector<BlockExtent>& blocks, const TokenRanges& skipped)
        : tokens_(tokens), uses_(uses), blocks_(blocks), skipped_(skipped) {}

    void run();

private:
    // An item of a bracket's contents: one token, or a whole bracketed group.
    struct Item {
        std::uint32_t first;
        std::uint32_t last;
    };

    std::int32_t implementationAround(std::size_t token);
    bool isArrayLiteral(std::size_t open) const;
    bool endsExpression(const Item& item) const;
    bool isIdentifier(const Item& item) const;
    bool is(const Item& item, std::string_view p) const;
    bool readItems(std::size_t open, std::size_t close);
    std::size_t firstKeyword() const;
    void message(std::size_t open, std::int32_t container);
    void unaryMessage(std::int32_t container);
    void selectorExpression(std::size_t at);
    void stringLiteral(const Token& token);

    const TokenView& tokens_;
    UseRecorder& uses_;
    const std::vector<BlockExtent>& blocks_;
    const TokenRanges& skipped_;
    std::size_t nextBlock_ = 0;
    std::vector<Item> items_;
};

} // namespace quillet::objc
