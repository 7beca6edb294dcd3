#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Result.h"

namespace quillet {

enum class NameKind : std::uint8_t {
    methods,    // methods that take arguments: selectors with keywords
    unary,      // argument-less methods: "reloadCart"
    classes,    // the classes the project defines: "CartViewController"
    protocols,  // the protocols the project defines: "CartDelegate"
    properties, // the properties the project declares: "itemCount"
};

// The kinds of names a precise run renames; methods always, the others when asked.
class NameKinds {
public:
    bool has(NameKind kind) const { return (bits_ & bitOf(kind)) != 0; }
    void add(NameKind kind) { bits_ |= bitOf(kind); }
    // Whether any kind besides methods is asked for.
    bool beyondMethods() const { return bits_ != bitOf(NameKind::methods); }

    // A comma-separated list of kinds ("methods,unary,classes"), which must hold methods.
    static Result<NameKinds> parse(std::string_view list);
    // The list `parse` reads back, in the order of `NameKind`.
    std::string text() const;

private:
    static std::uint8_t bitOf(NameKind kind) {
        return static_cast<std::uint8_t>(1U << static_cast<unsigned>(kind));
    }

    std::uint8_t bits_ = bitOf(NameKind::methods);
};

} // namespace quillet
