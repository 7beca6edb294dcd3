// What a precise run does to files beyond renaming: encodings and line ends kept byte for byte,
// files that cannot be read as Objective-C left alone, bad input survived, new names kept clear.
#include <chrono>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "job/RenameStrategies.h"
#include "objc/SourceScanner.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"
#include "text/Utf.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

const std::string header = "@interface Box : NSObject\n- (void)packItem:(id)item into:(id)box;\n"
                           "@end\n";
const std::string implementation = "#import \"Box.h\"\n@implementation Box\n"
                                   "- (void)packItem:(id)item into:(id)box {}\n@end\n";

std::vector<RenamePair> renameTo(MRenameTool& tool, const std::string& selector) {
    std::vector<RenamePair> pairs;
    for (const auto& m : tool.allMethodNames()) {
        pairs.push_back(RenamePair{m, method(selector)});
    }
    return pairs;
}

TEST(PreciseRun, EncodingsAndLineEndsAreKeptAndOnlyKeywordsChange) {
    TempDir dir;
    dir.write("Box.h", header);
    dir.write("Box.m", implementation);
    const std::string call =
        "// caf\xC3\xA9\r\nvoid f(Box *b) {\r\n    [b packItem:nil into:nil];\r\n}\r\n";
    const std::string le = "\xFF\xFE" + text::utf8ToUtf16(call, text::ByteOrder::littleEndian);
    const std::string be = "\xFE\xFF" + text::utf8ToUtf16(call, text::ByteOrder::bigEndian);
    dir.write("Little.m", le);
    dir.write("Big.m", be);
    dir.write("Bom.m", "\xEF\xBB\xBF" + call);
    const std::string untouched =
        "\xFF\xFE" + text::utf8ToUtf16("int x;\r\n", text::ByteOrder::littleEndian);
    dir.write("Untouched.m", untouched);

    SeededRandom random(3);
    MRenameTool tool(random, strategyFor(RenameMode::precise));
    scan(tool, dir.str());
    tool.replace(renameTo(tool, "stow:inside:"));

    std::string expected = call;
    expected.replace(expected.find("packItem:nil into:"), 18, "stow:nil inside:");
    EXPECT_EQ(readFile(dir.path() / "Little.m"),
              "\xFF\xFE" + text::utf8ToUtf16(expected, text::ByteOrder::littleEndian));
    EXPECT_EQ(readFile(dir.path() / "Big.m"),
              "\xFE\xFF" + text::utf8ToUtf16(expected, text::ByteOrder::bigEndian));
    EXPECT_EQ(readFile(dir.path() / "Bom.m"), "\xEF\xBB\xBF" + expected);
    EXPECT_EQ(readFile(dir.path() / "Untouched.m"), untouched);
    EXPECT_EQ(tool.writeReport().written, 5u); // Box.h, Box.m and the three callers
}

TEST(PreciseRun, AFileThatCannotBeParsedIsLeftAsItIsAndItsSelectorsKept) {
    TempDir dir;
    dir.write("Box.h", header + "@interface Crate : NSObject\n- (void)seal:(id)lid;\n@end\n");
    dir.write("Box.m", implementation);
    dir.write("Crate.m", "#import \"Box.h\"\n@implementation Crate\n"
                         "- (void)seal:(id)lid {\n    [lid packItem:nil into:nil];\n@end\n");
    dir.write("Comment.m", "void g(id b) { [b seal:nil]; }\n/* never closed\n");
    dir.write("Binary.m", std::string("[b packItem:1 into:2];\0\x01", 24));
    const std::string crate = readFile(dir.path() / "Crate.m");
    const std::string binary = readFile(dir.path() / "Binary.m");

    SeededRandom random(3);
    MRenameTool tool(random, strategyFor(RenameMode::precise));
    scan(tool, dir.str());
    EXPECT_TRUE(tool.allMethodNames().empty());
    ASSERT_NE(tool.protectionOf("packItem:into:"), nullptr);
    EXPECT_EQ(tool.protectionOf("packItem:into:")->describe(),
              "used in " + dir.str() +
                  "/Crate.m, which is left as it is (unclosed bracket at line 3)");
    EXPECT_NE(tool.protectionOf("seal:"), nullptr);
    const auto unparsed = tool.unparsedFiles();
    ASSERT_EQ(unparsed.size(), 2u);
    EXPECT_EQ(unparsed[0].path, dir.str() + "/Comment.m");
    EXPECT_EQ(unparsed[0].problem, "unterminated comment at line 2");
    tool.replace(*tool.makeNewNames({}));
    EXPECT_EQ(readFile(dir.path() / "Crate.m"), crate);
    EXPECT_EQ(readFile(dir.path() / "Binary.m"), binary);
}

TEST(PreciseRun, FilesInOlderEncodingsAreRenamedInThemOrKeepWhatTheyMayName) {
    TempDir dir;
    dir.write("Box.h", header + "@interface Crate : NSObject\n- (void)seal:(id)lid;\n@end\n");
    dir.write("Box.m", implementation + "@implementation Crate\n- (void)seal:(id)lid {}\n@end\n");
    // MacRoman ("caf\x8E"), and GBK with characters whose second byte is "@" or "f".
    const std::string macRoman = "// caf\x8E \xA5\nvoid m(Box *b) { [b packItem:nil into:nil]; }\n";
    const std::string gbk =
        "// \xDF\x40\xD5\x66\nvoid g(Box *b) { [b packItem:@\"\xC9\xCC\" into:nil]; }\n";
    // No encoding fits, and a backslash follows a byte that may lead a character.
    const std::string unsure = "// \x8E\\\n[c seal:nil]; // \x80\n";
    dir.write("Roman.m", macRoman);
    dir.write("Chinese.m", gbk);
    dir.write("Unsure.m", unsure);

    SeededRandom random(3);
    MRenameTool tool(random, strategyFor(RenameMode::precise));
    scan(tool, dir.str());
    EXPECT_TRUE(tool.unreadableFiles().empty());
    ASSERT_NE(tool.protectionOf("seal:"), nullptr);
    const auto unparsed = tool.unparsedFiles();
    ASSERT_EQ(unparsed.size(), 1u);
    EXPECT_EQ(unparsed[0].path, dir.str() + "/Unsure.m");
    tool.replace(renameTo(tool, "stow:inside:"));

    const auto renamed = [](std::string text) {
        const auto at = text.find("packItem:");
        text.replace(at, 9, "stow:");
        text.replace(text.find("into:", at), 5, "inside:");
        return text;
    };
    EXPECT_EQ(readFile(dir.path() / "Roman.m"), renamed(macRoman));
    EXPECT_EQ(readFile(dir.path() / "Chinese.m"), renamed(gbk));
    EXPECT_EQ(readFile(dir.path() / "Unsure.m"), unsure);
}

TEST(PreciseRun, ArbitraryTextNeverBreaksTheReader) {
    // Fragments of code, literals, comments and directives in random order and lengths.
    const std::vector<std::string> pieces = {"[",
                                             "]",
                                             "(",
                                             ")",
                                             "{",
                                             "}",
                                             "@",
                                             "@\"",
                                             "\"",
                                             "'",
                                             "/*",
                                             "*/",
                                             "//",
                                             "\\\n",
                                             "\n",
                                             "#",
                                             "#if 0\n",
                                             "#else\n",
                                             "#endif\n",
                                             "#define X ",
                                             "- (void)",
                                             "+ ",
                                             "a:",
                                             "b",
                                             ":",
                                             "::",
                                             "?",
                                             "^",
                                             "@selector(",
                                             "@interface A : B\n",
                                             "@implementation A\n",
                                             "@end\n",
                                             "super ",
                                             "R\"x(",
                                             ")x\"",
                                             ";",
                                             ",",
                                             "...",
                                             "\xC3\xA9",
                                             "\r\n",
                                             " ",
                                             "\t",
                                             "<",
                                             ">",
                                             "0x1e+"};
    std::mt19937 generator(12345);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const auto length = generator() % 200;
        for (std::uint32_t i = 0; i < length; ++i) {
            text += pieces[generator() % pieces.size()];
        }
        for (const auto dialect : {objc::Dialect::objectiveC, objc::Dialect::objectiveCpp}) {
            const auto facts = objc::scanSource(text, dialect, objc::ScanDepth::everything);
            for (const auto& span : facts.spans) {
                ASSERT_LE(span.offset + span.length, text.size()) << text;
            }
            for (const auto& use : facts.uses) {
                ASSERT_LE(use.firstSpan + use.spanCount, facts.spans.size()) << text;
                ASSERT_FALSE(use.selector.empty()) << text;
            }
        }
    }
}

TEST(PreciseRun, AVeryLargeFileIsReadInOnePass) {
    TempDir dir;
    dir.write("Box.h", header);
    dir.write("Box.m", implementation);
    std::string big = "#import \"Box.h\"\nvoid f(Box *b) {\n";
    const std::string line =
        "    [b packItem:@\"a]b\" into:[b packItem:nil into:nil]]; // [x y:z]\n";
    while (big.size() < (50u << 20)) {
        big += line;
    }
    big += "}\n";
    dir.write("Big.m", big);
    SeededRandom random(3);
    MRenameTool tool(random, strategyFor(RenameMode::precise));
    scan(tool, dir.str());
    tool.replace(renameTo(tool, "stow:inside:"));
    const std::string after = readFile(dir.path() / "Big.m");
    EXPECT_EQ(after.find("packItem:"), std::string::npos);
    EXPECT_NE(after.find("    [b stow:@\"a]b\" inside:[b stow:nil inside:nil]]; // [x y:z]\n"),
              std::string::npos);
}

TEST(PreciseRun, NewNamesNeverTakeANameInUseOrAKeyword) {
    TempDir dir;
    dir.write("Box.h", "@interface Box : NSObject\n- (void)packItem:(id)item;\n@end\n");
    dir.write("Box.m", "@implementation Box\n- (void)packItem:(id)item {}\n@end\n"
                       "void f(id x) { [x existing:1]; }\n");
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        SeededRandom random(seed);
        ProtectionInputs inputs;
        inputs.sdk = std::make_shared<SelectorSet>(SelectorSet{"inSdk:"});
        inputs.userList = {"listed:"};
        MRenameTool tool(random, strategyFor(RenameMode::precise, std::move(inputs)));
        scan(tool, dir.str());
        const auto pairs = tool.makeNewNames({"existing", "inSdk", "listed", "register", "fresh"});
        ASSERT_TRUE(pairs);
        ASSERT_EQ(pairs->size(), 1u);
        EXPECT_EQ(pairs->front().new_.selector(), "fresh:") << "seed " << seed;
    }
}

TEST(PreciseRun, EmptyKeywordsStayEmpty) {
    TempDir dir;
    dir.write("Box.h", "@interface Box : NSObject\n- (void)pack:(id)a :(id)b;\n@end\n");
    dir.write("Box.m", "@implementation Box\n- (void)pack:(id)a :(id)b {}\n"
                       "- (void)go { [self pack:1 :2]; SEL s = @selector(pack::); }\n@end\n");
    SeededRandom random(3);
    MRenameTool tool(random, strategyFor(RenameMode::precise));
    scan(tool, dir.str());
    const auto pairs = tool.makeNewNames({"stowaway", "unused"});
    ASSERT_TRUE(pairs);
    ASSERT_EQ(pairs->size(), 1u);
    const std::string renamed = pairs->front().new_.selector();
    EXPECT_EQ(renamed.substr(renamed.size() - 2), "::");
    tool.replace(*pairs);
    const std::string name = renamed.substr(0, renamed.size() - 2);
    EXPECT_EQ(readFile(dir.path() / "Box.m"),
              "@implementation Box\n- (void)" + name + ":(id)a :(id)b {}\n- (void)go { [self " +
                  name + ":1 :2]; SEL s = @selector(" + name + "::); }\n@end\n");
}

} // namespace
} // namespace quillet::test
