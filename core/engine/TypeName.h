#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/ProtectionReason.h"

namespace quillet {

// A class or protocol the project defines, and why it keeps its name when it does.
struct TypeName {
    enum class Kind : std::uint8_t { classType, protocolType };
    Kind kind = Kind::classType;
    std::string name;
    std::optional<ProtectionReason> protection;
};

// A class or protocol given a new name.
struct TypeRename {
    TypeName::Kind kind = TypeName::Kind::classType;
    std::string from;
    std::string to;
};

// A new class or protocol name is made of this many words (after the class prefix).
inline constexpr int wordsPerTypeName = 2;

// "class" or "protocol", as the name list and the cli write it.
inline const char* kindWord(TypeName::Kind kind) {
    return kind == TypeName::Kind::classType ? "class" : "protocol";
}

} // namespace quillet
