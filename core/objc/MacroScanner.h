#pragma once

#include <string_view>
#include <vector>

#include "objc/MacroBodyReader.h"
#include "objc/MessageScanner.h"
#include "objc/Token.h"
#include "objc/UseRecorder.h"

namespace quillet::objc {

// Finds a file's function-like macros ("#define NAME(a, b) body") and reads their bodies: the
// selectors formed from parameters become the file's macro definitions, the ones written out
// become uses. The message scan leaves these bodies alone (bodies()), since only a reading that
// knows the parameters and the pastes can tell a template from a use.
class MacroScanner {
public:
    MacroScanner(std::string_view text, const std::vector<Token>& tokens, Dialect dialect);

    // The bodies' token ranges, in order.
    const MessageScanner::TokenRanges& bodies() const { return bodies_; }
    void run(UseRecorder& uses) const;

private:
    std::string_view text_;
    const std::vector<Token>& tokens_;
    Dialect dialect_;
    std::vector<MacroExtent> macros_;
    MessageScanner::TokenRanges bodies_;
};

} // namespace quillet::objc
