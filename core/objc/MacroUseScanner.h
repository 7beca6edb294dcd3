#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "objc/SourceFacts.h"
#include "objc/Token.h"
#include "objc/TokenView.h"
#include "objc/UseRecorder.h"

namespace quillet::objc {

struct MacroNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};

// The project's function-like macros that form selectors, by name.
using MacroTable = std::unordered_map<std::string, MacroDefinition, MacroNameHash, std::equal_to<>>;

// Adds a file's definition to the table. Two different definitions of one name (under #if, or
// in two files) cannot both be followed by a rename, so all that name's selectors are kept.
void addMacroDefinition(MacroTable& table, MacroDefinition definition);

// Finds the uses of the table's macros in one text and adds the selectors each use forms: with
// an exact template and names for arguments, a use whose keyword spans are the arguments, so it
// is renamed with the selector; otherwise, when the use spells a selector, a macroFormed use
// that keeps it. A use in another macro's body that passes that macro's parameter on forms
// nothing here: it makes the other macro one that forms selectors (derived(), never exact), for
// a next round over the project. Linear in the text's size and what its uses form.
class MacroUseScanner {
public:
    MacroUseScanner(std::string_view text, Dialect dialect, const MacroTable& macros)
        : text_(text), dialect_(dialect), macros_(macros) {}

    void run(SourceFacts& facts);
    // The macros found forming selectors through a macro they use.
    MacroTable& derived() { return derived_; }

private:
    using Range = std::pair<std::size_t, std::size_t>; // tokens [first, end)

    void use(const TokenView& tokens, const MacroDefinition& macro, std::size_t open,
             UseRecorder& uses);
    bool exactUse(const TokenView& tokens, const MacroSelector& formed, UseRecorder& uses) const;
    bool spelledUse(const TokenView& tokens, Range argument, UseRecorder& uses) const;
    void keptUse(std::string selector, UseRecorder& uses) const;
    Range argument(std::int32_t parameter) const;
    std::string spelling(const TokenView& tokens, Range range) const;
    bool isName(const TokenView& tokens, Range range) const;
    std::int32_t forwardedAs(const TokenView& tokens, Range range) const;
    bool forwardsParameter(const TokenView& tokens, const MacroSelector& formed) const;
    void derive(const TokenView& tokens, const MacroSelector& formed);
    MacroDefinition& enclosingDefinition();

    std::string_view text_;
    Dialect dialect_;
    const MacroTable& macros_;
    std::vector<Range> arguments_;                      // of the use being read
    std::vector<std::string_view> enclosingParameters_; // of the #define around it, if any
    std::string_view enclosingName_;
    MacroTable derived_;
};

} // namespace quillet::objc
