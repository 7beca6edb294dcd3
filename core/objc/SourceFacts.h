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
    macroFormed,        // formed by a macro in a way no rewrite can follow; no spans: it is kept
    propertyAccessor,   // a declared property's name or custom getter, argument-less; no spans
};

// Whether a scan records argument-less selectors ("reloadCart") besides those with keywords:
// their declarations, definitions, sends and @selector(...), and property accessor names.
enum class UnaryNames : std::uint8_t { skipped, recorded };

// One place where a selector is written: one with at least one keyword, or, when a scan records
// them, an argument-less one (one span: its name).
struct SelectorUse {
    std::string selector; // e.g. "fooWithName:count:"
    UseKind kind = UseKind::send;
    bool blockTyped = false;     // declarations and definitions: a block type in the signature
    bool classMethod = false;    // declarations and definitions: a "+" method
    std::int32_t container = -1; // the @interface/@protocol/@implementation it is in
    std::uint32_t firstSpan = 0; // into SourceFacts::spans
    std::uint32_t spanCount = 0;
};

// A property a block declares, with what its attributes say about its names.
struct PropertyDeclaration {
    std::string name;
    bool customGetter = false; // getter=...
    bool customSetter = false; // setter=...
    bool inspectable = false;  // IBInspectable: Interface Builder sets it by name
};

// An @interface, @protocol or @implementation block.
struct Container {
    enum class Kind : std::uint8_t { interface, protocol, implementation };
    Kind kind = Kind::interface;
    std::string name;       // the class or protocol
    std::string superclass; // when the block names one
    bool category = false;  // a category or a class extension
    // The protocols it adopts ("<NSCoding, CartDelegate>"), or a protocol's own protocols.
    std::vector<std::string> protocols;
    std::vector<PropertyDeclaration> properties;
    // The names key-value coding can reach through this block: its properties, @dynamic and
    // @synthesize names and instance variables.
    std::vector<std::string> keys;
};

// A piece of a keyword that a macro body writes: a parameter's argument, or literal text.
// "sel##Suffix" is two pieces pasted together.
struct MacroPiece {
    std::int32_t parameter = -1; // -1: the literal text
    std::string literal;

    bool operator==(const MacroPiece&) const = default;
};

// A selector that a function-like macro's body forms from its parameters, in a message, an
// @selector(...) or a method signature.
struct MacroSelector {
    UseKind kind = UseKind::send;
    // Each keyword's pieces, pasted together; no pieces: an empty keyword.
    std::vector<std::vector<MacroPiece>> keywords;
    // When not -1, the whole selector is this parameter's argument, as in "@selector(sel)", and
    // `keywords` is empty.
    std::int32_t spelledBy = -1;
    // Every keyword is one parameter's argument that the body writes nowhere else, so renaming
    // the arguments renames the formed selector; otherwise the formed selector is kept.
    bool exact = false;

    bool operator==(const MacroSelector&) const = default;
};

// A function-like macro whose body forms selectors from its parameters, or spells one of them
// as a string ("#sel").
struct MacroDefinition {
    std::string name;
    std::uint32_t parameterCount = 0;
    std::vector<MacroSelector> selectors;
    std::vector<std::int32_t> stringized;

    bool operator==(const MacroDefinition&) const = default;
};

// What one file says about selectors and classes.
struct SourceFacts {
    std::vector<Container> containers;
    std::vector<SelectorUse> uses;
    std::vector<SelectorSpan> spans;
    std::vector<MacroDefinition> macros;
    // Why the file cannot be rewritten safely (with a line number); empty when it can.
    std::vector<std::string> problems;
};

} // namespace quillet::objc
