#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// The strings of a binary property list ("bplist00", as compiled nibs and binary .plist files
// are written), found by walking its offset table: every ASCII string object, and every UTF-16
// one whose characters are all ASCII. Containers are not followed, as only the strings matter.
// Whatever the bytes, reading stays inside them; what cannot be read is named in problem().
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

    bool readTrailer(Trailer& trailer);
    void readObject(std::uint64_t offset, std::uint64_t limit);
    bool readLength(std::uint8_t marker, std::uint64_t& at, std::uint64_t limit,
                    std::uint64_t& length);
    void fail(std::string what);

    std::string_view bytes_;
    std::vector<std::string> strings_;
    std::string problem_;
};

} // namespace quillet
