#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The strings of a binary property list ("bplist00", as compiled nibs and binary .plist files
// are written), found by walking its offset table: every ASCII string object, and every UTF-16
// one whose characters are all ASCII. Containers are not followed, as only the strings matter.
// When the table cannot be followed, or leads to broken objects, every byte that could start a
// string object is tried as well, and the printable ASCII strings found there that could name a
// selector (hold a colon) are added.
// Whatever the bytes, reading stays inside them and takes time in proportion to their size.
class BinaryPropertyList {
public:
    static constexpr std::string_view magic = "bplist00";

    explicit BinaryPropertyList(std::string_view bytes);

    const std::vector<std::string>& strings() const { return strings_; }
    // Empty when every object could be read; otherwise the first thing that was wrong.
    const std::string& problem() const { return problem_; }

private:
    struct Trailer {
        unsigned offsetSize = 0;
        std::uint64_t objectCount = 0;
        std::uint64_t offsetTable = 0;
    };
    struct StringObject {
        std::uint64_t start = 0; // of its characters
        std::uint64_t length = 0;
        bool utf16 = false;
    };

    bool readTrailer(Trailer& trailer);
    void walk(const Trailer& trailer);
    void salvage();
    // The string object whose marker is at `offset`, if it is one that ends by `limit`; `broken`
    // tells a string that does not fit from another kind of object.
    std::optional<StringObject> stringAt(std::uint64_t offset, std::uint64_t limit,
                                         bool& broken) const;
    // Its characters, when they are all ASCII (and all printable, if asked).
    std::optional<std::string> asciiText(const StringObject& string, bool printableOnly) const;
    void fail(std::string what);

    std::string_view bytes_;
    std::vector<std::string> strings_;
    std::string problem_;
};

} // namespace quillet
