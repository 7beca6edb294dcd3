#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/Base64.h"
#include "text/IcuPattern.h"
#include "text/Text.h"
#include "text/Utf.h"

using namespace quillet::text;
using Pieces = std::vector<std::string>;

TEST(Split, KeepsEveryEmptyPiece) {
    EXPECT_EQ(split("a;b;;c", ';'), (Pieces{"a", "b", "", "c"}));
    EXPECT_EQ(split("", ';'), (Pieces{""}));
    EXPECT_EQ(split(";", ';'), (Pieces{"", ""}));
    EXPECT_EQ(split("no separator", ';'), (Pieces{"no separator"}));
    EXPECT_EQ(split("end;", ';'), (Pieces{"end", ""}));
}

TEST(Split, JoiningWithTheSeparatorGivesTheTextBack) {
    for (const std::string text : {"", ";", ";;", "a;b", ";a;;b;", "中;文;", "x\n;\r\n;"}) {
        EXPECT_EQ(join(split(text, ';'), ";"), text) << text;
    }
}

TEST(Split, MultiByteCharactersAreNeverCut) {
    // "中" is E4 B8 AD, "文" E6 96 87: no byte of either is an ASCII separator.
    EXPECT_EQ(split("中,文", ','), (Pieces{"中", "文"}));
    EXPECT_EQ(splitViews("中,,文", ',').size(), 3u);
}

TEST(Join, PutsTheSeparatorOnlyBetweenPieces) {
    EXPECT_EQ(join({}, ","), "");
    EXPECT_EQ(join({"a"}, ","), "a");
    EXPECT_EQ(join({"a", "", "b"}, "\n"), "a\n\nb");
    EXPECT_EQ(join({"a", "b"}, ""), "ab");
}

TEST(ReplaceAll, ReplacesNonOverlappingOccurrencesLeftToRight) {
    std::string text = "aaa";
    EXPECT_TRUE(replaceAll(text, "aa", "b"));
    EXPECT_EQ(text, "ba");

    text = "foo: foo:bar: xfoo:";
    EXPECT_TRUE(replaceAll(text, "foo:", "baz:"));
    EXPECT_EQ(text, "baz: baz:bar: xbaz:");
}

TEST(ReplaceAll, DoesNotRescanInsertedText) {
    std::string text = "a-a";
    EXPECT_TRUE(replaceAll(text, "a", "aa"));
    EXPECT_EQ(text, "aa-aa");
}

TEST(ReplaceAll, ReportsNoChangeWhenNothingMatches) {
    std::string text = "hello";
    EXPECT_FALSE(replaceAll(text, "world", "x"));
    EXPECT_EQ(text, "hello");
}

TEST(Utf16Length, CountsUtf16CodeUnits) {
    EXPECT_EQ(utf16Length(""), 0u);
    EXPECT_EQ(utf16Length("abc"), 3u);
    EXPECT_EQ(utf16Length("é"), 1u);    // two bytes, one unit
    EXPECT_EQ(utf16Length("中文"), 2u); // three bytes each
    EXPECT_EQ(utf16Length("a😀b"), 4u);  // outside the basic plane: a surrogate pair
}

TEST(CompareUtf16, OrdersByUtf16UnitsNotByBytes) {
    EXPECT_LT(compareUtf16("abc", "abd"), 0);
    EXPECT_GT(compareUtf16("b", "abc"), 0);
    EXPECT_LT(compareUtf16("ab", "abc"), 0);
    EXPECT_EQ(compareUtf16("中文", "中文"), 0);
    EXPECT_LT(compareUtf16("Z", "a"), 0);
    // U+1F600 is the pair D83D DE00, which sorts before U+FF5E in UTF-16, although its UTF-8
    // bytes (F0 ...) sort after those of U+FF5E (EF ...).
    EXPECT_LT(compareUtf16("😀", "～"), 0);
    EXPECT_GT(compareUtf16("～", "😀"), 0);
}

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
};

class Utf8Validation : public testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Validation, AcceptsOnlyWellFormedText) {
    EXPECT_EQ(isValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Utf8Validation,
    testing::Values(
        Utf8Case{"Empty", "", true}, Utf8Case{"Ascii", "int main;", true},
        Utf8Case{"TwoByte", "caf\xC3\xA9", true}, Utf8Case{"ThreeByte", "\xE4\xB8\xAD", true},
        Utf8Case{"FourByte", "\xF0\x9F\x98\x80", true},
        Utf8Case{"LastBeforeSurrogates", "\xED\x9F\xBF", true},
        Utf8Case{"HighestCodePoint", "\xF4\x8F\xBF\xBF", true},
        Utf8Case{"Latin1Byte", "caf\xE9", false}, Utf8Case{"LoneContinuation", "\x80", false},
        Utf8Case{"InvalidLeadByte", "\xFF", false}, Utf8Case{"OverlongSlash", "\xC0\xAF", false},
        Utf8Case{"OverlongThreeByte", "\xE0\x80\xAF", false},
        Utf8Case{"OverlongFourByte", "\xF0\x8F\xBF\xBF", false},
        Utf8Case{"Surrogate", "\xED\xA0\x80", false},
        Utf8Case{"AboveHighestCodePoint", "\xF4\x90\x80\x80", false},
        Utf8Case{"Truncated", "a\xE4\xB8", false},
        Utf8Case{"InterruptedSequence", "\xE4\x41\xAD", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf16Decoding, DecodesBothByteOrders) {
    using namespace std::string_literals;
    EXPECT_EQ(utf16ToUtf8("a\0;\0"s, ByteOrder::littleEndian), std::optional<std::string>("a;"));
    EXPECT_EQ(utf16ToUtf8("\0a\0;"s, ByteOrder::bigEndian), std::optional<std::string>("a;"));
    EXPECT_EQ(utf16ToUtf8("\x2D\x4E"s, ByteOrder::littleEndian), std::optional<std::string>("中"));
    EXPECT_EQ(utf16ToUtf8("\x4E\x2D"s, ByteOrder::bigEndian), std::optional<std::string>("中"));
    EXPECT_EQ(utf16ToUtf8("", ByteOrder::littleEndian), std::optional<std::string>(""));
}

TEST(Utf16Decoding, JoinsSurrogatePairs) {
    using namespace std::string_literals;
    EXPECT_EQ(utf16ToUtf8("\x3D\xD8\x00\xDE"s, ByteOrder::littleEndian),
              std::optional<std::string>("😀"));
    EXPECT_EQ(utf16ToUtf8("\xD8\x3D\xDE\x00"s, ByteOrder::bigEndian),
              std::optional<std::string>("😀"));
}

TEST(Utf16Decoding, RejectsMalformedUnits) {
    using namespace std::string_literals;
    EXPECT_EQ(utf16ToUtf8("a\0b"s, ByteOrder::littleEndian), std::nullopt);     // odd length
    EXPECT_EQ(utf16ToUtf8("\x3D\xD8"s, ByteOrder::littleEndian), std::nullopt); // lone high
    EXPECT_EQ(utf16ToUtf8("\x3D\xD8\x61\x00"s, ByteOrder::littleEndian), std::nullopt);
    EXPECT_EQ(utf16ToUtf8("\x00\xDE\x61\x00"s, ByteOrder::littleEndian), std::nullopt); // lone low
}

TEST(IcuPattern, MatchesTheWholeTextOnly) {
    IcuPattern pattern("[a-z]+");
    EXPECT_TRUE(pattern.matches("abc"));
    EXPECT_FALSE(pattern.matches("abc1"));
    EXPECT_FALSE(pattern.matches(""));
}

TEST(IcuPattern, DotCrossesLineBreaksOnlyWhenAsked) {
    IcuPattern stops("a.b");
    IcuPattern crosses("a.b", IcuPattern::Dot::crossesLineEnd);
    for (const char* text : {"a\nb", "a\rb"}) {
        EXPECT_FALSE(stops.matches(text)) << text;
        EXPECT_TRUE(crosses.matches(text)) << text;
    }
}

TEST(IcuPattern, KeepsIcuMeaningOfWhiteSpaceAndWordCharacters) {
    // ICU's \s includes the no-break space, and \w includes letters beyond ASCII.
    IcuPattern space("a\\sb");
    EXPECT_TRUE(space.matches("a\xC2\xA0"
                              "b"));
    IcuPattern word("\\w+");
    EXPECT_TRUE(word.matches("中文é"));
}

TEST(IcuPattern, FindAllGivesEveryMatchLeftToRight) {
    IcuPattern runs("[^\\s\"]+");
    const auto found = runs.findAll("#import \t\"Foo.h\" ");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], "#import");
    EXPECT_EQ(found[1], "Foo.h");
}

TEST(Base64, RoundTripsEveryLengthAndRejectsLooseForms) {
    std::string bytes;
    for (int length = 0; length < 8; ++length) {
        EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes);
        bytes += static_cast<char>(0xF0 + length);
    }
    EXPECT_EQ(base64Encode("foob"), "Zm9vYg==");
    for (const char* loose :
         {"Zm9vYg=", "Zm9v\nYg==", "Zm9vYh==", "Zm9=Yg==", "Zm9vY===", "Zm9v-g==", "===="}) {
        EXPECT_EQ(base64Decode(loose), std::nullopt) << loose;
    }
}
