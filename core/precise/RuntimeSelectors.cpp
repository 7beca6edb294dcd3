#include "precise/RuntimeSelectors.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>
#include <utility>

namespace quillet {

namespace {

constexpr std::string_view namedSelectors[] = {
    // Identity, copying, allocation
    "isEqual:", "copyWithZone:", "mutableCopyWithZone:", "allocWithZone:", "descriptionWithLocale:",
    "descriptionWithLocale:indent:",
    // Archiving
    "encodeWithCoder:", "initWithCoder:", "awakeAfterUsingCoder:", "replacementObjectForCoder:",
    "replacementObjectForKeyedArchiver:", "replacementObjectForArchiver:",
    // Introspection and forwarding
    "respondsToSelector:", "instancesRespondToSelector:", "conformsToProtocol:", "isKindOfClass:",
    "isMemberOfClass:", "methodSignatureForSelector:", "instanceMethodSignatureForSelector:",
    "forwardInvocation:", "forwardingTargetForSelector:", "resolveInstanceMethod:",
    "resolveClassMethod:", "doesNotRecognizeSelector:", "methodForSelector:",
    "instanceMethodForSelector:", "performSelector:", "performSelector:withObject:",
    "performSelector:withObject:withObject:",
    // Key-value observing
    "observeValueForKeyPath:ofObject:change:context:", "automaticallyNotifiesObserversForKey:",
    "keyPathsForValuesAffectingValueForKey:", "addObserver:forKeyPath:options:context:",
    "removeObserver:forKeyPath:", "removeObserver:forKeyPath:context:", "willChangeValueForKey:",
    "didChangeValueForKey:",
    // Key-value coding
    "valueForKey:", "setValue:forKey:", "valueForKeyPath:", "setValue:forKeyPath:",
    "valueForUndefinedKey:", "setValue:forUndefinedKey:", "setNilValueForKey:",
    "validateValue:forKey:error:", "validateValue:forKeyPath:error:", "mutableArrayValueForKey:",
    "mutableSetValueForKey:", "mutableOrderedSetValueForKey:", "dictionaryWithValuesForKeys:",
    "setValuesForKeysWithDictionary:",
    // Subscripting and fast enumeration
    "objectAtIndexedSubscript:", "setObject:atIndexedSubscript:", "objectForKeyedSubscript:",
    "setObject:forKeyedSubscript:", "countByEnumeratingWithState:objects:count:",
    // Argument-less: NSObject's class and protocol (GNUstep's and Apple's), which the runtime,
    // Foundation and debuggers call by name
    "alloc", "init", "new", "copy", "mutableCopy", "dealloc", "finalize", "retain", "release",
    "autorelease", "retainCount", "zone", "class", "superclass", "self", "isProxy", "hash",
    "description", "debugDescription", "className", "load", "initialize", "version",
    "classForArchiver", "classForCoder", "classForKeyedArchiver", "supportsSecureCoding",
    "accessInstanceVariablesDirectly", "autoContentAccessingProxy", "beginContentAccess",
    "endContentAccess", "discardContentIfPossible", "isContentDiscarded", "allowsWeakReference",
    "retainWeakReference", "awakeFromNib", "prepareForInterfaceBuilder"};

// Method families whose names tell ARC who owns the result: a name in one keeps its meaning
// only as it is.
constexpr std::string_view memoryFamilies[] = {"alloc", "init", "new", "copy", "mutableCopy"};

// The one-keyword accessors key-value coding looks up for a key, as prefix and suffix around
// it; the bare add<Key>: and remove<Key>: forms of to-many relationships too.
constexpr std::pair<std::string_view, std::string_view> singleKeywordPatterns[] = {
    {"objectIn", "AtIndex:"}, {"removeObjectFrom", "AtIndex:"},
    {"remove", "AtIndexes:"}, {"add", "Object:"},
    {"remove", "Object:"},    {"memberOf", ":"},
    {"intersect", ":"},       {"add", ":"},
    {"remove", ":"}};

// The argument-less accessors key-value coding looks up for a key: get<Key>, is<Key> and the
// to-many countOf<Key> and enumeratorOf<Key>.
constexpr std::string_view unaryPrefixes[] = {"get", "is", "countOf", "enumeratorOf"};

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// The Key in `text` = prefix + Key + suffix, where Key is a capitalised name inside the first
// keyword.
std::optional<std::string_view> keyIn(std::string_view text, std::string_view prefix,
                                      std::string_view suffix) {
    if (text.size() > prefix.size() + suffix.size() && text.starts_with(prefix) &&
        text.ends_with(suffix) && isUpper(text[prefix.size()]) &&
        text.find(':') >= text.size() - suffix.size()) {
        return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
    }
    return std::nullopt;
}

} // namespace

bool isCalledByRuntime(std::string_view selector) {
    return std::find(std::begin(namedSelectors), std::end(namedSelectors), selector) !=
           std::end(namedSelectors);
}

bool startsMemoryFamily(std::string_view name) {
    return std::any_of(std::begin(memoryFamilies), std::end(memoryFamilies),
                       [name](std::string_view family) { return name.starts_with(family); });
}

std::string keyOfName(std::string_view name) {
    std::string key(name.starts_with('_') ? name.substr(1) : name);
    if (!key.empty()) {
        key[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
    }
    return key;
}

std::vector<std::string> keyValueCodingKeys(std::string_view s) {
    std::vector<std::string> keys;
    const auto collect = [&keys](std::optional<std::string_view> key) {
        if (key) {
            keys.push_back(keyOfName(*key));
        }
    };
    const auto colon = s.find(':');
    const std::string_view first = s.substr(0, colon + 1);
    const std::string_view rest = colon == std::string_view::npos ? "" : s.substr(colon + 1);
    if (colon == std::string_view::npos) {
        for (const auto prefix : unaryPrefixes) {
            collect(keyIn(s, prefix, ""));
        }
        return keys;
    }
    if (rest.empty()) {
        for (const auto& [prefix, suffix] : singleKeywordPatterns) {
            collect(keyIn(s, prefix, suffix));
        }
        constexpr std::string_view indexes = "AtIndexes:"; // <key>AtIndexes:
        if (first.ends_with(indexes) && first.size() > indexes.size() && !isUpper(first[0])) {
            collect(first.substr(0, first.size() - indexes.size()));
        }
        return keys;
    }
    if (first == "insertObject:") {
        collect(keyIn(rest, "in", "AtIndex:"));
    }
    if (rest == "atIndexes:") {
        collect(keyIn(first, "insert", ":"));
    }
    if (rest == "withObject:") {
        collect(keyIn(first, "replaceObjectIn", "AtIndex:"));
    }
    if (keyIn(rest, "with", ":")) {
        collect(keyIn(first, "replace", "AtIndexes:"));
    }
    if (rest == "range:") {
        collect(keyIn(first, "get", ":"));
    }
    if (rest == "error:") {
        collect(keyIn(first, "validate", ":"));
    }
    return keys;
}

} // namespace quillet
