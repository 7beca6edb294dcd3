#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet::swift {

// The base names Swift code may call an Objective-C method by, as the Swift importer names it,
// erring towards more: the first keyword's name ("handleKeyDown:" -> "handleKeyDown"), and every
// part of it that ends before a preposition ("objectForKey:" -> "object", as in
// object(forKey:)) or before the words that name the first parameter's type
// ("addItem:" taking an Item -> "add"). `firstParameterType` is the type written for the first
// argument ("NSString *", "id<Delegate>"), empty when not known.
std::vector<std::string> importedBaseNames(std::string_view selector,
                                           std::string_view firstParameterType);

// The base name of a Swift name given by NS_SWIFT_NAME: "item(at:)" -> "item",
// "Box.open(with:)" -> "open"; empty when there is none.
std::string baseOfSwiftName(std::string_view swiftName);

} // namespace quillet::swift
