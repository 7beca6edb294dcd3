#include "precise/RuntimeSelectors.h"

#include <algorithm>
#include <iterator>

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
    "setObject:forKeyedSubscript:", "countByEnumeratingWithState:objects:count:"};

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// `text` is prefix + Key + suffix, where Key is a capitalised name.
bool isKeyed(std::string_view text, std::string_view prefix, std::string_view suffix) {
    return text.size() > prefix.size() + suffix.size() && text.starts_with(prefix) &&
           text.ends_with(suffix) && isUpper(text[prefix.size()]) &&
           text.find(':') >= prefix.size(); // the key is inside the first keyword
}

// The accessor and validation names key-value coding looks up for a key. The bare add<Key>: and
// remove<Key>: forms are left out: they are far more often a class's own methods.
bool isKeyValueCodingAccessor(std::string_view s) {
    const auto colon = s.find(':');
    const std::string_view first = s.substr(0, colon + 1);
    const std::string_view rest = s.substr(colon + 1);
    if (rest.empty()) {
        return isKeyed(s, "objectIn", "AtIndex:") || isKeyed(s, "removeObjectFrom", "AtIndex:") ||
               isKeyed(s, "remove", "AtIndexes:") || isKeyed(s, "add", "Object:") ||
               isKeyed(s, "remove", "Object:") || isKeyed(s, "memberOf", ":") ||
               isKeyed(s, "intersect", ":") ||
               (first.ends_with("AtIndexes:") && first.size() > 10 && !isUpper(first[0]));
    }
    return (first == "insertObject:" && isKeyed(rest, "in", "AtIndex:")) ||
           (isKeyed(first, "insert", ":") && rest == "atIndexes:") ||
           (isKeyed(first, "replaceObjectIn", "AtIndex:") && rest == "withObject:") ||
           (isKeyed(first, "replace", "AtIndexes:") && isKeyed(rest, "with", ":")) ||
           (isKeyed(first, "get", ":") && rest == "range:") ||
           (isKeyed(first, "validate", ":") && rest == "error:");
}

} // namespace

bool isCalledByRuntime(std::string_view selector) {
    return std::find(std::begin(namedSelectors), std::end(namedSelectors), selector) !=
               std::end(namedSelectors) ||
           isKeyValueCodingAccessor(selector);
}

} // namespace quillet
