// What the scan and collect steps take from a project's headers.
#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "engine/WordCountRule.h"
#include "support/EngineRun.h"
#include "support/Files.h"

using namespace quillet;
using quillet::test::TempDir;

namespace {

std::vector<std::string> selectors(MRenameTool& tool) {
    std::vector<std::string> list;
    for (const auto& method : tool.allMethodNames()) {
        list.push_back(method.selector());
    }
    return list;
}

// The selectors collected from one declaration text.
std::vector<std::string> parsed(std::string_view declaration) {
    MRenameTool tool;
    tool.parseDeclaration(declaration, "Foo.h");
    return selectors(tool);
}

// A project whose only header holds `header`, with an implementation beside it.
std::vector<std::string> collected(const std::string& header) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "#import \"Foo.h\"\n");
    MRenameTool tool;
    quillet::test::scan(tool, dir.str());
    return selectors(tool);
}

using Selectors = std::vector<std::string>;

} // namespace

TEST(ParseDeclaration, KeepsPiecesWithAColonLongerThanTwoCharacters) {
    EXPECT_EQ(parsed("- (void)fooWithName:(NSString *)name count:(int)count;"),
              (Selectors{"fooWithName:count:"}));
    EXPECT_EQ(parsed("+ (instancetype)sharedWithName:(NSString *)n;"),
              (Selectors{"sharedWithName:"}));
    EXPECT_EQ(parsed("- (void)a:(int)x b:(int)y;"), Selectors{});
    EXPECT_EQ(parsed("- (void)reload;"), Selectors{});
    // A tab is not a separator, so the piece keeps what comes before it.
    EXPECT_EQ(parsed("- (void)foo:(int)a\tbar:(int)b;"), (Selectors{"foo:a\tbar:"}));
}

TEST(ParseDeclaration, LeavesInitialisersSettersAndBlocksAlone) {
    EXPECT_EQ(parsed("- (instancetype)initWithFrame:(CGRect)f;"), Selectors{});
    EXPECT_EQ(parsed("- (void)setName:(NSString *)n;"), Selectors{});
    // Only the letters count, so a selector that merely starts like a setter goes too.
    EXPECT_EQ(parsed("- (void)settingsChanged:(id)s;"), Selectors{});
    EXPECT_EQ(parsed("- (void)run:(void (^)(void))done;"), Selectors{});
}

TEST(CollectMethods, JoinsDeclarationsSpreadOverLines) {
    EXPECT_EQ(collected("- (void)foo:(int)a\n    bar:(int)b;\n"), (Selectors{"foo:bar:"}));
    // Lines are joined with nothing between them.
    EXPECT_EQ(collected("- (void)foo:(int)a\nbar:(int)b;\n"), (Selectors{"foo:abar:"}));
}

TEST(CollectMethods, DropsADeclarationThatNeverEnds) {
    EXPECT_EQ(collected("- (void)lost:(int)a\n- (void)found:(int)b;\n- (void)open:(int)c\n"),
              (Selectors{"found:"}));
}

TEST(AllMethodNames, LongestFirstThenDescendingTextWithoutDuplicates) {
    TempDir dir;
    dir.write("A.h", "- (void)ab:(int)x;\n- (void)load:(int)a count:(int)b;\n");
    dir.write("A.m", "");
    dir.write("B.h", "- (void)zz:(int)x;\n- (void)load:(int)a count:(int)b;\n"
                     "- (void)abc:(int)x;\n");
    dir.write("B.m", "");
    MRenameTool tool;
    quillet::test::scan(tool, dir.str());
    EXPECT_EQ(selectors(tool), (Selectors{"load:count:", "abc:", "zz:", "ab:"}));
    // The earliest header keeps a selector declared twice.
    EXPECT_EQ(tool.allMethodNames().front().file, "A.h");
}

TEST(LoadFiles, KeepsOnlyHeadersWithAnImplementationBeside) {
    TempDir dir;
    dir.write("Kept.h", "- (void)kept:(int)x;\n");
    dir.write("Kept.mm", "");
    dir.write("Alone.h", "- (void)alone:(int)x;\n");
    dir.write("Pods/Lib.h", "- (void)ignored:(int)x;\n");
    dir.write("Pods/Lib.m", "");
    MRenameTool tool;
    tool.setRootPath(dir.str());
    ASSERT_TRUE(tool.loadFiles({"Pods"}));
    tool.collectMethods();
    EXPECT_EQ(selectors(tool), (Selectors{"kept:"}));

    TempDir headersOnly;
    headersOnly.write("Only.h", "- (void)only:(int)x;\n");
    MRenameTool none;
    none.setRootPath(headersOnly.str());
    EXPECT_FALSE(none.loadFiles({}));
}

TEST(WordCountRule, NeedsHalfAsManyAgainTruncated) {
    EXPECT_EQ(wordsNeeded(0), 0u);
    EXPECT_EQ(wordsNeeded(1), 1u);
    EXPECT_EQ(wordsNeeded(3), 4u);
    EXPECT_EQ(wordsNeeded(4), 6u);
    // Every piece between commas counts, empty ones too.
    EXPECT_EQ(wordList("a,,b,"), (Selectors{"a", "", "b", ""}));
    EXPECT_EQ(notEnoughWordsMessage(2, 6), "单词数量不足：单词数量为2个, 当前需要6");
}
