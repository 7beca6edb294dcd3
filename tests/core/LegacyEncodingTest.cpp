// Files in older encodings: read in the encoding they are in, written back byte for byte.
#include <random>

#include <gtest/gtest.h>

#include "text/LegacyEncoding.h"

namespace quillet::text {
namespace {

// GBK, with traditional characters whose second byte is an ASCII letter or "@" (這 = DF 40,
// 說 = D5 66): read as single bytes, they would look like code.
const std::string gbkSource =
    "// \xD5\xE2\xCA\xC7\xC9\xCC\xC6\xB7\xC1\xD0\xB1\xED\xB5\xC4\xBF\xD8\xD6\xC6\xC6\xF7\xA3\xAC"
    "\xB8\xBA\xD4\xF0\xBC\xD3\xD4\xD8\xCA\xFD\xBE\xDD\xBA\xCD\xCB\xA2\xD0\xC2\xBD\xE7\xC3\xE6\n"
    "// \xDF\x40\xD5\x66\xE9\x5F\xEA\x50\n"
    "@interface GoodsList : NSObject\n- (void)loadGoods:(int)page;\n@end\n"
    "NSString *title = @\"\xC9\xCC\xC6\xB7\xC1\xD0\xB1\xED\xDF\x40\";\n";

TEST(LegacyEncoding, GbkIsReadAsItsCharactersAndWrittenBackWithOnlyTheEditChanged) {
    const auto read = decodeLegacy(gbkSource);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->charset, "GB18030");
    EXPECT_NE(read->utf8.find("// \xE9\x80\x99\xE8\xAA\xAA"), std::string::npos) << read->utf8;
    std::string edited = read->utf8;
    edited.replace(edited.find("loadGoods"), 9, "fetchWares");
    std::string expected = gbkSource;
    expected.replace(expected.find("loadGoods"), 9, "fetchWares");
    EXPECT_EQ(encodeLegacy(edited, read->charset), expected);
}

TEST(LegacyEncoding, ASingleByteFileComesBackByteForByteWhicheverEncodingItWasIn) {
    // MacRoman: "café" (8E), "naïve" (95), a bullet (A5) and a curly quote (D2).
    const std::string macRoman = "// caf\x8E na\x95ve \xA5 \xD2quoted\xD3\n- (void)brew:(int)n;\n";
    const auto read = decodeLegacy(macRoman);
    ASSERT_TRUE(read);
    EXPECT_EQ(encodeLegacy(read->utf8, read->charset), macRoman);
    EXPECT_NE(read->utf8.find("- (void)brew:(int)n;"), std::string::npos);
    // No multi-byte encoding fits (0x80 leads nothing), and a backslash follows a byte that
    // could lead a character: whether it escapes the quote cannot be told.
    EXPECT_FALSE(decodeLegacy("NSString *s = @\"\x8E\\\"; // \x80\n"));
}

TEST(LegacyEncoding, WhatIsDecodedAlwaysComesBackUnchangedAndGarbageDoesNoHarm) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = "int x; // ";
        const int length = 1 + round % 64;
        for (int i = 0; i < length; ++i) {
            bytes += static_cast<char>(byte(random));
        }
        if (const auto read = decodeLegacy(bytes)) {
            EXPECT_EQ(encodeLegacy(read->utf8, read->charset), bytes) << read->charset;
        }
    }
    EXPECT_FALSE(encodeLegacy("\xE2\x82\xAC", "ISO-8859-1")) << "the euro sign has no Latin-1 byte";
    EXPECT_FALSE(encodeLegacy("x", "no-such-charset"));
}

} // namespace
} // namespace quillet::text
