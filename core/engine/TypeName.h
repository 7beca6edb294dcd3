#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/ProtectionReason.h"

namespace quillet {

// A class, protocol or property the project defines, and why it keeps its name when it does.
struct TypeName {
    enum class Kind : std::uint8_t { classType, protocolType, property };
    Kind kind = Kind::classType;
    std::string name;
    std::optional<ProtectionReason> protection;
};

// A class, protocol or property given a new name.
struct TypeRename {
    TypeName::Kind kind = TypeName::Kind::classType;
    std::string from;
    std::string to;
};

// A new class, protocol or property name is made of this many words (after the prefix).
inline constexpr int wordsPerTypeName = 2;

// "class", "protocol" or "property", as the name list and the cli write it.
inline const char* kindWord(TypeName::Kind kind) {
    switch (kind) {
    case TypeName::Kind::classType:
        return "class";
    case TypeName::Kind::protocolType:
        return "protocol";
    case TypeName::Kind::property:
        return "property";
    }
    return "";
}

} // namespace quillet
