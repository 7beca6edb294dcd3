#include "precise/BinaryPropertyList.h"

#include <algorithm>

namespace quillet {

namespace {

constexpr std::size_t trailerSize = 32;
constexpr std::uint8_t asciiString = 0x5;
constexpr std::uint8_t utf16String = 0x6;
constexpr std::uint8_t integer = 0x1;

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
    if (!readTrailer(trailer)) {
        return;
    }
    std::vector<std::uint64_t> offsets(trailer.objectCount);
    for (std::uint64_t i = 0; i < trailer.objectCount; ++i) {
        offsets[i] =
            bigEndianAt(bytes_, trailer.offsetTable + i * trailer.offsetSize, trailer.offsetSize);
    }
    // In offset order, each object must end before the next one starts: no byte is read twice,
    // however the table points.
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        if (offsets[i] < magic.size() || offsets[i] >= trailer.offsetTable) {
            fail("an object lies outside the objects");
            continue;
        }
        readObject(offsets[i], i + 1 < offsets.size()
                                   ? std::min(offsets[i + 1], trailer.offsetTable)
                                   : trailer.offsetTable);
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

// The object at `offset`, which must end by `limit`; only strings are kept.
void BinaryPropertyList::readObject(std::uint64_t offset, std::uint64_t limit) {
    const std::uint8_t marker = byteAt(bytes_, offset);
    const std::uint8_t type = marker >> 4;
    if (type != asciiString && type != utf16String) {
        return;
    }
    std::uint64_t at = offset + 1;
    std::uint64_t length = 0;
    if (!readLength(marker, at, limit, length)) {
        return;
    }
    const std::uint64_t unitSize = type == utf16String ? 2 : 1;
    if (length > (limit - at) / unitSize) {
        fail("a string runs past its object");
        return;
    }
    if (type == asciiString) {
        strings_.emplace_back(bytes_.substr(at, length));
        return;
    }
    std::string text;
    text.reserve(length);
    for (std::uint64_t unit = 0; unit < length; ++unit) {
        const auto code = bigEndianAt(bytes_, at + 2 * unit, 2);
        if (code >= 0x80) {
            return; // no selector has a character beyond ASCII
        }
        text += static_cast<char>(code);
    }
    strings_.push_back(std::move(text));
}

// The length in an object's marker, or in the integer object after it; moves `at` past it.
bool BinaryPropertyList::readLength(std::uint8_t marker, std::uint64_t& at, std::uint64_t limit,
                                    std::uint64_t& length) {
    if ((marker & 0xF) != 0xF) {
        length = marker & 0xF;
        return true;
    }
    const std::uint8_t lengthMarker = at < limit ? byteAt(bytes_, at) : 0;
    const unsigned size = 1u << (lengthMarker & 0xF);
    if (at >= limit || lengthMarker >> 4 != integer || size > 8 || size >= limit - at) {
        fail("a string's length cannot be read");
        return false;
    }
    length = bigEndianAt(bytes_, at + 1, size);
    at += 1 + size;
    return true;
}

void BinaryPropertyList::fail(std::string what) {
    if (problem_.empty()) {
        problem_ = "not a whole binary property list: " + std::move(what);
    }
}

} // namespace quillet
