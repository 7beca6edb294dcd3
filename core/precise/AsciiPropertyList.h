#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillet {

// A stretch of the text read: a string as written (with its quotes, if any) or a comment's
// inside.
struct TextSpan {
    std::size_t offset = 0;
    std::size_t length = 0;
};

// One value of an old-style (NeXTSTEP) property list, as Xcode writes its project files: a
// string, a dictionary or an array. Strings keep where they stand in the text, so that one can
// be rewritten without touching a byte around it.
struct AsciiEntry;

struct AsciiValue {
    enum class Kind { string, dictionary, array };
    Kind kind = Kind::string;
    std::string text;                // a string's value, escapes resolved
    TextSpan span;                   // a string's token
    std::vector<AsciiEntry> entries; // a dictionary's, in text order
    std::vector<AsciiValue> items;   // an array's

    // The dictionary entry named `key`, or null.
    const AsciiValue* find(std::string_view key) const;
    // The string value of entry `key`, or "" when there is none or it is no string.
    std::string stringAt(std::string_view key) const;
};

struct AsciiEntry {
    std::string key;
    AsciiValue value;
};

// A whole old-style property list: its value, and every comment and string in text order.
class AsciiPropertyList {
public:
    // Nothing when the text is not one such list, whole (trailing text included).
    static std::optional<AsciiPropertyList> parse(std::string_view text);

    const AsciiValue& root() const { return root_; }
    const std::vector<TextSpan>& comments() const { return comments_; }
    // Every string value (not the keys) in text order.
    std::vector<const AsciiValue*> strings() const;

private:
    AsciiValue root_;
    std::vector<TextSpan> comments_;
};

} // namespace quillet
