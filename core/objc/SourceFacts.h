#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillet::objc {

// Where one keyword of a selector is written: the identifier before its colon, or an empty
// range at the colon of an empty keyword (the second one of "foo::"). For a string literal or an
// interface file action, the whole selector text; a fixed text has no span.
struct SelectorSpan {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

enum class UseKind : std::uint8_t {
    declaration,        // in @interface or @protocol
    definition,         // in @implementation
    send,               // [receiver keyword:argument ...]
    superSend,          // [super keyword:argument ...]
    selectorExpression, // @selector(keyword:...)
    stringLiteral,      // @"keyword:..." or "keyword:..."
    interfaceAction,    // an action in an interface or data file: selector="keyword:...", ...
    actionName,         // an action's name without its colon (IB2 classes.nib): "done" for done:
    fixedText,          // written where it cannot be rewritten (compiled nib, binary plist, ...)
};

// One place where a selector with at least one keyword is written.
struct SelectorUse {
    std::string selector; // e.g. "fooWithName:count:"
    UseKind kind = UseKind::send;
    bool blockTyped = false;     // declarations and definitions: a block type in the signature
    std::int32_t container = -1; // the @interface/@protocol/@implementation it is in
    std::uint32_t firstSpan = 0; // into SourceFacts::spans
    std::uint32_t spanCount = 0;
};

// An @interface, @protocol or @implementation block.
struct Container {
    enum class Kind : std::uint8_t { interface, protocol, implementation };
    Kind kind = Kind::interface;
    std::string name;       // the class or protocol
    std::string superclass; // when the block names one
    bool category = false;  // a category or a class extension
};

// What one file says about selectors and classes.
struct SourceFacts {
    std::vector<Container> containers;
    std::vector<SelectorUse> uses;
    std::vector<SelectorSpan> spans;
    // Why the file cannot be rewritten safely (with a line number); empty when it can.
    std::vector<std::string> problems;
};

} // namespace quillet::objc
