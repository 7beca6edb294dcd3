#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// Whether the Objective-C runtime or Foundation calls this selector by its name, whoever
// declares it: equality and copying, archiving, message forwarding, key-value observing and
// coding, subscripting and fast enumeration. Renaming such a method silently takes it out of
// those mechanisms.
bool isCalledByRuntime(std::string_view selector);

// Whether an argument-less name begins like a memory-managing method family ("alloc", "init",
// "new", "copy", "mutableCopy"): ARC reads ownership from the name, so such names stay, and are
// never given.
bool startsMemoryFamily(std::string_view name);

// The keys, capitalised ("Items"), whose key-value coding accessor this selector could be:
// insertObject:in<Key>AtIndex:, add<Key>Object:, add<Key>:, intersect<Key>:, countOf<Key>,
// is<Key> and the like. A
// selector may fit several patterns ("removeItemsObject:" is remove<Key>Object: and
// remove<Key>:); empty when it fits none.
std::vector<std::string> keyValueCodingKeys(std::string_view selector);

// The key, capitalised, that a property or instance variable name gives: "_items" and "items"
// give "Items"; empty for "_" or "".
std::string keyOfName(std::string_view name);

// The keyword of a property's setter, without its colon: "setTitle" for "title".
inline std::string setterKeyword(std::string_view name) {
    return "set" + keyOfName(name);
}

} // namespace quillet
