#include "precise/BinaryPropertyList.h"

#include <algorithm>

namespace quillet {

namespace {

constexpr std::size_t trailerSize = 32;
constexpr std::uint8_t asciiString = 0x5;
constexpr std::uint8_t utf16String = 0x6;
constexpr std::uint8_t integer = 0x1;
// Longer strings found by trying every byte are no selector of any real project.
constexpr std::uint64_t longestSalvagedString = 4096;

std::uint8_t byteAt(std::string_view bytes, std::uint64_t at) {
    return static_cast<std::uint8_t>(bytes[at]);
}

// `size` bytes (at most 8) from `at`, most significant first; the caller keeps them in bounds.
std::uint64_t bigEndianAt(std::string_view bytes, std::uint64_t at, unsigned size) {
    std::uint64_t value = 0;
    for (unsigned i = 0; i < size; ++i) {
        value = (value << 8) | byteAt(bytes, at + i);
    }
    return value;
}

} // namespace

BinaryPropertyList::BinaryPropertyList(std::string_view bytes) : bytes_(bytes) {
    Trailer trailer;
    if (readTrailer(trailer)) {
        walk(trailer);
    }
    if (!problem_.empty()) {
        salvage();
    }
}

bool BinaryPropertyList::readTrailer(Trailer& trailer) {
    if (bytes_.size() < magic.size() + trailerSize || !bytes_.starts_with(magic)) {
        fail("too short for a binary property list");
        return false;
    }
    const std::uint64_t at = bytes_.size() - trailerSize;
    trailer.offsetSize = byteAt(bytes_, at + 6);
    trailer.objectCount = bigEndianAt(bytes_, at + 8, 8);
    trailer.offsetTable = bigEndianAt(bytes_, at + 24, 8);
    if (trailer.offsetSize < 1 || trailer.offsetSize > 8) {
        fail("its offsets are " + std::to_string(trailer.offsetSize) + " bytes long");
        return false;
    }
    if (trailer.offsetTable < magic.size() || trailer.offsetTable > at ||
        trailer.objectCount > (at - trailer.offsetTable) / trailer.offsetSize) {
        fail("its offset table lies outside the file");
        return false;
    }
    return true;
}

// In offset order, each object must end before the next one starts: no byte is read twice,
// however the table points.
void BinaryPropertyList::walk(const Trailer& trailer) {
    std::vector<std::uint64_t> offsets(trailer.objectCount);
    for (std::uint64_t i = 0; i < trailer.objectCount; ++i) {
        offsets[i] =
            bigEndianAt(bytes_, trailer.offsetTable + i * trailer.offsetSize, trailer.offsetSize);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] < magic.size() || offsets[i] >= trailer.offsetTable) {
            fail("an object lies outside the objects");
            continue;
        }
        const auto limit = i + 1 < offsets.size() ? std::min(offsets[i + 1], trailer.offsetTable)
                                                  : trailer.offsetTable;
        bool broken = false;
        const auto string = stringAt(offsets[i], limit, broken);
        if (broken) {
            fail("a string does not fit in its place");
        }
        if (!string) {
            continue;
        }
        if (auto text = asciiText(*string, false)) {
            strings_.push_back(std::move(*text));
        }
    }
}

// A try at every byte stops at the first character that is not printable ASCII, and a long
// string needs a length marker, which is not printable, just before it: no run of characters is
// read more than a few times.
void BinaryPropertyList::salvage() {
    for (std::uint64_t offset = magic.size(); offset < bytes_.size(); ++offset) {
        bool broken = false;
        const auto string = stringAt(offset, bytes_.size(), broken);
        if (!string || string->length == 0 || string->length > longestSalvagedString) {
            continue;
        }
        if (auto text = asciiText(*string, true); text && text->find(':') != std::string::npos) {
            strings_.push_back(std::move(*text));
        }
    }
}

std::optional<BinaryPropertyList::StringObject>
BinaryPropertyList::stringAt(std::uint64_t offset, std::uint64_t limit, bool& broken) const {
    const std::uint8_t marker = byteAt(bytes_, offset);
    const std::uint8_t type = marker >> 4;
    if (type != asciiString && type != utf16String) {
        return std::nullopt;
    }
    StringObject string;
    string.utf16 = type == utf16String;
    string.start = offset + 1;
    string.length = marker & 0xF;
    if (string.length == 0xF) { // the length follows as an integer object
        const std::uint8_t lengthMarker = string.start < limit ? byteAt(bytes_, string.start) : 0;
        const unsigned size = 1u << (lengthMarker & 0xF);
        if (lengthMarker >> 4 != integer || size > 8 || size >= limit - string.start) {
            broken = true;
            return std::nullopt;
        }
        string.length = bigEndianAt(bytes_, string.start + 1, size);
        string.start += 1 + size;
    }
    if (string.length > (limit - string.start) / (string.utf16 ? 2 : 1)) {
        broken = true;
        return std::nullopt;
    }
    return string;
}

std::optional<std::string> BinaryPropertyList::asciiText(const StringObject& string,
                                                         bool printableOnly) const {
    std::string text;
    for (std::uint64_t i = 0; i < string.length; ++i) {
        const auto code = string.utf16 ? bigEndianAt(bytes_, string.start + 2 * i, 2)
                                       : byteAt(bytes_, string.start + i);
        // No selector has a character beyond ASCII.
        if ((string.utf16 && code >= 0x80) || (printableOnly && (code < 0x21 || code > 0x7E))) {
            return std::nullopt;
        }
        text += static_cast<char>(code);
    }
    return text;
}

void BinaryPropertyList::fail(std::string what) {
    if (problem_.empty()) {
        problem_ = "not a whole binary property list: " + std::move(what);
    }
}

} // namespace quillet
