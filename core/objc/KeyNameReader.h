#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "objc/TokenView.h"

namespace quillet::objc {

// Reads the names key-value coding can reach in a class: declared properties, @dynamic and
// @synthesize names, and instance variables. Each read returns the token after what it read,
// never moving backwards, so garbage costs no more than one pass.
class KeyNameReader {
public:
    explicit KeyNameReader(const TokenView& tokens) : tokens_(tokens) {}

    // "@property (attributes) Type *a, *b;" from its keyword: the names a and b.
    std::size_t property(std::size_t keyword, std::vector<std::string>& names) const;
    // "@property (getter=isOpen) BOOL open;" from its keyword: isOpen; empty without one.
    std::string customGetter(std::size_t keyword) const;
    // Whether "@property (setter=...)" from its keyword names its setter.
    bool hasCustomSetter(std::size_t keyword) const;
    // Whether the declaration from its keyword says IBInspectable.
    bool isInspectable(std::size_t keyword) const;
    // "@dynamic a, b;" or "@synthesize a = _a, b;" from its keyword: the names a and b.
    std::size_t implementedProperties(std::size_t keyword, std::vector<std::string>& names) const;
    // "{ int _a; id b, c; }" from its "{": the names _a, b and c.
    std::size_t instanceVariables(std::size_t open, std::vector<std::string>& names) const;

private:
    // The word after "NAME=" among the attributes of the declaration from its keyword.
    std::string_view attribute(std::size_t keyword, std::string_view name) const;
    void declaredNames(std::size_t i, std::size_t end, std::vector<std::string>& names) const;
    std::size_t statementEnd(std::size_t i) const;

    const TokenView& tokens_;
};

} // namespace quillet::objc
