#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "objc/SourceFacts.h"
#include "objc/Token.h"
#include "objc/UseRecorder.h"

namespace quillet::objc {

// Where a function-like macro is defined among a file's tokens: its name, its parameters, and
// its body (the tokens [first, end) of the #define line).
struct MacroExtent {
    std::size_t nameToken = 0;
    std::size_t first = 0;
    std::size_t end = 0;
    std::vector<std::string_view> parameters;
};

// Reads the body of one function-like macro. A selector the body writes out in full is recorded
// as a use, like any other; one it forms from a parameter ("[rs sel:0]", "@selector(sel)",
// "- (void)sel:(id)x", "sel##Suffix:") becomes a template of the macro's definition, exact when
// renaming the argument renames the formed selector and nothing else. Linear in the body's size.
class MacroBodyReader {
public:
    MacroBodyReader(std::string_view text, const std::vector<Token>& tokens, Dialect dialect,
                    const MacroExtent& macro)
        : text_(text), tokens_(tokens), dialect_(dialect), macro_(macro) {}

    // The definition, with neither selectors nor stringized parameters when the body forms no
    // selector from its parameters; the body's own uses go to `uses`.
    MacroDefinition read(UseRecorder& uses);

private:
    std::string gluedBody() const;
    std::int32_t parameterOf(std::size_t token) const;
    std::vector<MacroPiece> piecesOf(std::uint32_t offset, std::uint32_t length);
    void addTemplate(const SelectorUse& use, const SourceFacts& local, UseRecorder& uses);
    void addSpelledBy(std::int32_t parameter);
    std::size_t templateFor(MacroSelector formed);
    void countParameters();
    void decideExactness();

    std::string_view text_;
    const std::vector<Token>& tokens_;
    Dialect dialect_;
    const MacroExtent& macro_;
    std::uint32_t base_ = 0; // where the body starts in the text
    std::size_t pieceStart_ = 0;
    std::unordered_map<std::string_view, std::int32_t> parameterIndex_;
    MacroDefinition definition_;
    std::unordered_map<std::string, std::size_t> templateAt_; // by keyOf

    // Per parameter: how often the body names it, and where it is a whole keyword (template,
    // keyword) of a template, templates counted after merging equal ones.
    std::vector<std::uint32_t> written_;
    std::vector<std::vector<std::pair<std::size_t, std::size_t>>> keywordAt_;
};

} // namespace quillet::objc
